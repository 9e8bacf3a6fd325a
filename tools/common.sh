# Shared by the tools: installs the Debian packages that are missing and builds Tolvane.
# Sourced, not run.

set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the build, the program and the tests need from Debian.
build_packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation2)
test_packages=(xvfb xauth xdotool openbox poppler-utils clang libclang-rt-14-dev cups
    printer-driver-cups-pdf dpkg-dev file desktop-file-utils appstream procps
    g++-mingw-w64-x86-64-posix)

install_missing() {
    local missing=()
    for package in "$@"; do
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
