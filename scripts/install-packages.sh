# Sourced by the set-up scripts. install_packages PACKAGE... installs with apt-get those of
# the Debian packages that are missing, and does nothing (no apt-get update) when none is.
install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) != "install ok installed" ]]; then
            missing+=("$package")
        fi
    done
    if [[ ${#missing[@]} -eq 0 ]]; then
        return 0
    fi
    echo "== installing: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update &&
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
