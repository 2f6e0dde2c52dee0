#!/usr/bin/env bash
# One X server and one persistent wineserver for a whole Windows test stage:
#   wine-session.sh start BUILD_DIR   starts them and waits until Wine's desktop is up
#   wine-session.sh stop BUILD_DIR    ends them
# While a session runs, run-under-wine.sh runs every program in it. A fresh wineserver per
# program made the first window of a GUI test fail now and then (Wine's desktop was not up
# yet); here the desktop comes up once, before any test.
set -uo pipefail

action=${1:-}
build=$(cd "${2:-.}" && pwd)
session=$build/wine-session.env
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX=${ZT9_WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
    [[ -f $session ]] || return 0
    # shellcheck source=/dev/null
    source "$session"
    DISPLAY=$ZT9_DISPLAY wineserver -k 2>/dev/null
    DISPLAY=$ZT9_DISPLAY wineserver -w 2>/dev/null
    kill "$ZT9_XVFB_PID" 2>/dev/null
    rm -f "$session"
}

case $action in
stop)
    stop
    exit 0
    ;;
start) ;;
*)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac

stop
"$here/run-under-wine.sh" --prepare-prefix || exit 1

# shellcheck source=cmake/x-display.sh
source "$here/x-display.sh"
display=$(free_display) || exit 1
# A screen large enough for the picture at zoom 10 beside the panel.
setsid Xvfb ":$display" -screen 0 2600x2500x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
wait_for_display "$display"
printf 'ZT9_DISPLAY=:%s\nZT9_XVFB_PID=%s\n' "$display" "$xvfb" >"$session"

export DISPLAY=:$display
setsid wineserver -p </dev/null >/dev/null 2>&1
# Wait for the desktop: a throwaway program creates its first window, retrying until Wine
# accepts it.
warmup=$build/tests/support/wine_warmup.exe
if [[ -f $warmup ]]; then
    wine "$warmup" </dev/null >/dev/null 2>&1 || { echo "$0: Wine's desktop did not come up" >&2; stop; exit 1; }
fi
echo "wine session on :$display"
