#!/usr/bin/env bash
# Installs what is missing, builds, and then starts the organizer (run) or
# runs the test suite (test). Safe to repeat: nothing is installed or rebuilt
# that is already there.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-run}"
shift || true

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev libsodium-dev libical-dev libsqlite3-dev fonts-dejavu-core)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local dir="$1"; shift
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        # A compiler cache, where the machine has one, makes rebuilds of a
        # fresh checkout cheap; nothing needs it.
        local launcher=()
        if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
        cmake -S "$here" -B "$dir" "${launcher[@]}" "$@"
    fi
    cmake --build "$dir" -j"$(nproc)"
}

install_missing
case "$mode" in
    run)
        build "$here/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANE_BUILD_TESTS=OFF
        exec "$here/build/release/src/app/brevane-organizer" "$@"
        ;;
    test)
        build "$here/build/test" -DCMAKE_BUILD_TYPE=Debug -DBREVANE_WERROR=ON -DBREVANE_SANITIZE=ON
        cd "$here/build/test"
        exec ctest --output-on-failure -j"$(nproc)" "$@"
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
