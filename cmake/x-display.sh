# Sourced by the scripts that start a private X server.
# free_display: prints the number of a free X display, from a random start so that runs side
# by side do not pick the same one; fails when none of 50 is free.
free_display() {
    local n tries
    for ((n = 100 + RANDOM % 800, tries = 0; tries < 50; n++, tries++)); do
        if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
            echo "$n"
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
}

# wait_for_display N: waits up to 10 seconds for X server :N to take connections.
wait_for_display() {
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -e /tmp/.X11-unix/X$1 ]] && return 0
        sleep 0.1
    done
    return 1
}
