# Shared by the tools: installs the Debian packages that are missing and builds Tolvane.
# Sourced, not run.

set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The packages of these groups of tools/debian-packages.txt.
packages() {
    for group in "$@"; do sed -n "s/^$group: //p" "$repo/tools/debian-packages.txt"; done
}

install_missing() {
    local missing=()
    for package in $(packages "$@"); do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

build() {
    local preset=$1
    cmake --preset "$preset" -S "$repo" >/dev/null
    cmake --build --preset "$preset"
}
