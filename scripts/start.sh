#!/usr/bin/env bash
# Builds the editor for Windows and starts it under Wine on the demo font.
#   With a display ($DISPLAY set), the editor opens there; the script ends when it closes.
#   Without one, it runs in a virtual X server: the script saves a PNG screenshot of the
#   window, prints its path, closes the editor and exits 0.
# Any GEO file given as the first argument is opened instead of the demo font.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=build/windows

packages=(
    cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
    x11-apps x11-utils imagemagick  # xwd, xwininfo and convert for the screenshot
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
    libxxf86vm1 fonts-wine fonts-liberation
)
# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"
install_packages "${packages[@]}" || { echo "error: could not install the packages" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target zt9edit demo_font

exe=$root/$build/src/ui/zt9edit.exe
font=${1:-$root/$build/demo/demo.geo}
export WINEPREFIX=$root/$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cmake/run-under-wine.sh --prepare-prefix
echo "editor: $build/src/ui/zt9edit.exe"

if [[ -n ${DISPLAY:-} ]]; then
    exec wine "$exe" "$(winepath -w "$font")"
fi

# Headless: a private X server the size of a common laptop screen.
# shellcheck source=cmake/x-display.sh
source "$root/cmake/x-display.sh"
display=$(free_display)
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$display
finish() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT
wait_for_display "$display"

wine "$exe" "$(winepath -w "$font")" >/dev/null 2>&1 &
title="ZT9 font editor"
for ((i = 0; i < 300; i++)); do
    xwininfo -name "$title" >/dev/null 2>&1 && break
    sleep 0.1
done
xwininfo -name "$title" >/dev/null 2>&1 || { echo "error: the editor's window did not appear" >&2; exit 1; }
sleep 2  # let it load the font and paint
shot=$root/build/screenshot.png
xwd -name "$title" -display "$DISPLAY" | convert xwd:- "$shot"
echo "screenshot: $shot"
