#!/usr/bin/env bash
# Builds everything and runs every test.  Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOVRA_GUI=ON -DKOVRA_TESTS=ON -DKOVRA_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
