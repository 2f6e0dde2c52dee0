#!/usr/bin/env bash
# Runs a Windows program under Wine and returns its exit code. ctest calls it as
# CMAKE_CROSSCOMPILING_EMULATOR: run-under-wine.sh prog.exe args...
#
# The Wine prefix is private to the build folder (the nearest folder above the program that
# holds CMakeCache.txt; ZT9_WINEPREFIX overrides it), so tests never touch ~/.wine.
#
# While a session started by wine-session.sh runs for that build folder, the program runs in
# its X server and persistent wineserver. Otherwise (a build step, a program run by hand) it
# gets a private virtual X server, and the wineserver is stopped before that X server ends:
# Wine's helper processes stay tied to the display they started on.
set -euo pipefail

self=$(readlink -f "$0")

export WINEARCH=win64
# Quiet, and Debian's wine wrapper then also stops asking for wine32.
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: nothing here needs either.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix once. Without a window manager Wine waits about 2 s in every
# DestroyWindow of a managed top-level window; unmanaged windows close at once.
prepare_prefix() {
    if [[ ! -f $WINEPREFIX/.zt9-ready ]]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$(dirname "$WINEPREFIX")"
        wineboot --init >/dev/null 2>&1 9>&-
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            >/dev/null 9>&-
        wineserver -w 9>&-
        touch "$WINEPREFIX/.zt9-ready"
    fi
    # Wine draws the caption buttons of its own frames with Marlett, which it does not find
    # among the fonts it ships unless the font sits in the prefix.
    local marlett=/usr/share/wine/fonts/marlett.ttf
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [[ -f $marlett && -d $fonts && ! -f $fonts/marlett.ttf ]]; then
        cp "$marlett" "$fonts/"
    fi
}

if [[ ${1:-} == --prepare-prefix ]]; then
    prepare_prefix
    exit 0
fi

if [[ $# -lt 1 ]]; then
    echo "usage: $0 program.exe [arguments...]" >&2
    exit 2
fi

# Inside the private X server started below: run the program, then end the Wine session.
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

build=$(find_build_dir "$program")
export WINEPREFIX=${ZT9_WINEPREFIX:-$build/wineprefix}

session=$build/wine-session.env
if [[ -f $session ]]; then
    # shellcheck source=/dev/null
    source "$session"
    if kill -0 "$ZT9_XVFB_PID" 2>/dev/null; then
        export DISPLAY=$ZT9_DISPLAY
        exec wine "$program" "$@"
    fi
fi

# The lock is held by this shell only (children get the descriptor closed), so it is free
# again as soon as this script ends, however it ends.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
prepare_prefix

# -a takes the first free display from -n on; a random start keeps runs from other build
# folders from picking the same number at the same moment.
status=0
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 2600x2500x24" \
    "$self" --inside-display "$program" "$@" 9>&- || status=$?
exit "$status"
