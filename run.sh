#!/usr/bin/env bash
# Builds the viewer and opens it on the bundled sample listing file.
# Without a display it says so and prints the sample's listings instead.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_GUI=ON >/dev/null
cmake --build build -j"$(nproc)"
sample=build/bin/samples/sample.txt
if [ -x build/bin/ProjectKovra ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/ProjectKovra "$sample"
fi
if [ -x build/bin/ProjectKovra ]; then
  echo "No display found: showing the sample's listings with the command-line tool instead."
fi
exec build/bin/kovra summary "$sample"
