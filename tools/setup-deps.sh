#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need,
# only those that are missing (Debian 12).  Safe to run again and again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-qpa-plugins
  # The browser's market charts.
  qt6-charts-dev libqt6opengl6-dev
  # Qt's own dialogs and buttons in Japanese (qtbase_ja.qm).
  qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  # Metric-compatible stand-ins for Arial, Times New Roman and Courier New.
  fonts-liberation2
  xvfb xauth poppler-utils time ccache
  # The printer tests start a CUPS server of their own with a cups-pdf queue.
  cups printer-driver-cups-pdf libcups2-dev
  libicu-dev zlib1g-dev python3-openpyxl
  # The archive: SQLite, zstd for its texts, SHA-256 from OpenSSL's libcrypto.
  libsqlite3-dev libzstd-dev libssl-dev
  # The office archive on a PostgreSQL server: its C client, and a real
  # server (and psql) for the tests.
  libpq-dev postgresql postgresql-client
  # The Windows cross-build (CMakePresets.json) and wine to run its tests.
  g++-mingw-w64-x86-64-posix wine wine64
  # The Debian package and the checks of the installed tree.
  dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
