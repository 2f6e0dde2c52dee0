#!/usr/bin/env bash
# Makes the Windows release: a ZIP named after the version, with the editor, geotool, the
# demo font, a read-me and the licence. Installs what it needs on a fresh Debian machine and
# prints the package's path.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=build/windows

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
          libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
          libxxf86vm1 fonts-wine fonts-liberation)  # Wine runs the demo font's generator
# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"
install_packages "${packages[@]}" || { echo "error: could not install the packages" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target zt9edit geotool demo_font
(cd "$build" && cpack >/dev/null)
ls "$root/$build"/package/zt9-font-editor-*-win64.zip
