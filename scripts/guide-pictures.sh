#!/usr/bin/env bash
# Makes the user guide's pictures again from the real editor under Wine: a virtual screen,
# the demo font, a fixed window size. Writes docs/images/*.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=build/windows

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick
          libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
          libxxf86vm1 fonts-wine fonts-liberation)
# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"
install_packages "${packages[@]}" || { echo "error: could not install the packages" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target guide_shots demo_font

export WINEPREFIX=$root/$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cmake/run-under-wine.sh --prepare-prefix

# The editor runs in a folder of fonts, as a modder's would be; its dialogs open there.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/My fonts/glyphs" "$work/shots"
cp "$build/demo/demo.geo" "$work/My fonts/demo.geo"
# A private X server of a common screen size; the window is placed at its top-left corner.
(cd "$work/My fonts" && xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c 'wine "$1" demo.geo "$(winepath -w "$2")"; status=$?; wineserver -k; exit $status' \
    _ "$root/$build/tools/guide_shots/guide_shots.exe" "$work/shots")

mkdir -p docs/images
for bmp in "$work"/shots/*.bmp; do
    convert "$bmp" -strip "docs/images/$(basename "${bmp%.bmp}").png"
done
ls docs/images
