#!/usr/bin/env bash
# Builds the editor for Windows and starts it under Wine on the demo font.
#   With a display ($DISPLAY set), the editor opens there; the script ends when it closes.
#   Without one, it runs in a virtual X server: the font is first checked as the editor
#   checks it (geotool check), and a refused font ends the script with geotool's message.
#   Otherwise the script waits until the window names the font and has finished painting,
#   saves a PNG screenshot of it, prints its path, closes the editor and exits 0.
# Any GEO file given as the first argument, relative to the folder the command is run from,
# is opened instead of the demo font; one that cannot be read ends the script at once.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=build/windows

# The font is looked for where the user is, before anything changes folder.
here=$PWD
font=
if [[ $# -ge 1 ]]; then
    font=$1
    [[ $font == /* ]] || font=$here/$font
    if [[ ! -f $font || ! -r $font ]]; then
        echo "error: $1: no such file" >&2
        exit 1
    fi
fi
cd "$root"

packages=(
    cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
    x11-apps x11-utils imagemagick  # xwd, xwininfo and convert for the screenshot
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
    libxxf86vm1 fonts-wine fonts-liberation
)
# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"
install_packages "${packages[@]}" || { echo "error: could not install the packages" >&2; exit 1; }

targets=(zt9edit demo_font)
# Headless, the font is checked by the cross-built geotool: the same build, no second one.
[[ -n ${DISPLAY:-} ]] || targets+=(geotool)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target "${targets[@]}"

exe=$root/$build/src/ui/zt9edit.exe
font=${font:-$root/$build/demo/demo.geo}
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
shots=$(mktemp -d)
finish() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$shots"
}
trap finish EXIT
wait_for_display "$display"

# geotool gets the name as typed, from the user's folder (Wine takes a relative name from
# there and an absolute one as a path on Z:), so its message names the file as the user did.
# Wine starts here, on the virtual display the editor uses next.
from=$root
name=$build/demo/demo.geo
if [[ $# -ge 1 ]]; then
    name=$1
    from=$here
    [[ $name != /* ]] || from=/
fi
geotool=$root/$build/src/geotool/geotool.exe
if ! verdict=$(cd "$from" && wine "$geotool" check -- "$name" 2>&1); then
    echo "$verdict" >&2
    exit 1
fi
echo "$verdict"

wine "$exe" "$(winepath -w "$font")" >/dev/null 2>&1 &
editor=$!
# Loaded and painted: the title names the font, and two screenshots a moment apart agree.
# xwininfo finds a window by a UTF-8 title too (xwd -name only by a Latin-1 one).
title="$(basename "$font") - ZT9 font editor"
window_id() {
    xwininfo -name "$title" 2>/dev/null | awk '/Window id:/ { print $4; exit }' || true
}
limit=60
deadline=$((SECONDS + limit))
while true; do
    window=$(window_id)
    if [[ -n $window ]] && xwd -silent -id "$window" >"$shots/new" 2>/dev/null; then
        cmp -s "$shots/new" "$shots/last" 2>/dev/null && break
        mv "$shots/new" "$shots/last"
    fi
    if ! kill -0 "$editor" 2>/dev/null; then
        echo "error: the editor ended before it had shown $(basename "$font")" >&2
        exit 1
    fi
    if ((SECONDS >= deadline)); then
        echo "error: no window titled \"$title\" finished painting within $limit seconds" >&2
        exit 1
    fi
    sleep 0.5
done
shot=$root/build/screenshot.png
convert xwd:"$shots/last" "$shot"
echo "screenshot: $shot"
