#!/usr/bin/env bash
# Installs what the build needs (once), then configures and builds into ./build.
# Safe to run again: apt-get is skipped when every package is present, ninja rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

# The serial letters merge in LibreOffice Writer; its data source is stored as a database file, which
# needs the database component (libreoffice-base); the API headers come from the SDK (libreoffice-dev).
# "Drucken" of the document list hands files to the print system's lp (cups-client).
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev libgl-dev
          qt6-translations-l10n xvfb xauth fonts-dejavu-core adwaita-icon-theme unzip poppler-utils xdg-utils
          cups-client libreoffice-writer libreoffice-base libreoffice-base-drivers libreoffice-dev)
# Only for the tests (scripts/test.sh): the dBase import is checked against a table written by the
# spreadsheet's own dBase export. The spreadsheet's windowless variant would conflict with the writer.
# The crash-point test of the register kills a filing process at chosen system calls with strace.
if [ "${ZEP_SETUP_TESTS:-}" = 1 ]; then
    packages+=(libreoffice-calc strace)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installiere: ${missing[*]}"
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
