# Shared by scripts/demo and scripts/test: install what is missing, build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${VEXA_BUILD_DIR:-$ROOT/build}
# scdoc writes the manual pages; desktop-file-utils and appstream check the menu entry and its metadata.
BUILD_PACKAGES=(cmake make g++ qt6-base-dev qt6-svg-dev libsqlite3-dev libgtest-dev libbenchmark-dev scdoc desktop-file-utils appstream)

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build [CMAKE OPTION...] [-- TARGET...]: configures, then builds the targets
# named, or everything.
build() {
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    targets=("$@")
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
    if [ ${#targets[@]} -eq 0 ]; then
        cmake --build "$BUILD" -j"$(nproc)"
    else
        cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]}"
    fi
}
