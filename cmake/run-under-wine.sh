#!/usr/bin/env bash
# Runs a Windows program under Wine inside a private virtual X server and returns its exit
# code. ctest calls it as CMAKE_CROSSCOMPILING_EMULATOR: run-under-wine.sh prog.exe args...
#
# The Wine prefix is private to the build folder (the nearest folder above the program that
# holds CMakeCache.txt; ZT9_WINEPREFIX overrides it), so tests never touch ~/.wine.
#
# Programs sharing a prefix run one at a time. Each run gets its own X server, and Wine's
# helper processes (explorer, winedevice) stay tied to the display they started on: if two
# runs shared one wineserver, the first X server to go away would take the other run's
# desktop with it. So every run stops its wineserver before its X server ends.
set -euo pipefail

self=$(readlink -f "$0")

if [[ $# -lt 1 ]]; then
    echo "usage: $0 program.exe [arguments...]" >&2
    exit 2
fi

# Inside the X server started below: run the program, then end the Wine session.
if [[ $1 == --inside-display ]]; then
    shift
    status=0
    wine "$@" || status=$?
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    exit "$status"
fi

program=$1
shift
if [[ ! -f $program ]]; then
    echo "$0: no such program: $program" >&2
    exit 2
fi

find_build_dir() {
    local dir
    dir=$(cd "$(dirname "$1")" && pwd)
    while [[ $dir != / ]]; do
        if [[ -f $dir/CMakeCache.txt ]]; then
            echo "$dir"
            return
        fi
        dir=$(dirname "$dir")
    done
    # A program outside any build folder keeps its prefix beside itself.
    cd "$(dirname "$1")" && pwd
}

if [[ -n ${ZT9_WINEPREFIX:-} ]]; then
    prefix=$ZT9_WINEPREFIX
else
    prefix=$(find_build_dir "$program")/wineprefix
fi
mkdir -p "$(dirname "$prefix")"

export WINEPREFIX=$prefix
export WINEARCH=win64
# Quiet, and Debian's wine wrapper then also stops asking for wine32.
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The lock is held by this shell only (children get the descriptor closed), so it is free
# again as soon as this script ends, however it ends.
exec 9>"$prefix.lock"
flock 9

if [[ ! -f $prefix/.zt9-ready ]]; then
    rm -rf "$prefix"
    wineboot --init >/dev/null 2>&1 9>&-
    # Without a window manager Wine waits about 2 s in every DestroyWindow of a managed
    # top-level window; unmanaged windows close at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 9>&-
    wineserver -w 9>&-
    touch "$prefix/.zt9-ready"
fi

# -a takes the first free display from -n on; a random start keeps runs from other build
# folders from picking the same number at the same moment.
status=0
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 2600x2500x24" \
    "$self" --inside-display "$program" "$@" 9>&- || status=$?
exit "$status"
