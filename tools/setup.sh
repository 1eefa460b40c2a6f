#!/usr/bin/env bash
# Installs whatever the build, the program and the tests need, from Debian 12's packages.
# Sourced by run.sh and test.sh; installs nothing that is already there.
set -euo pipefail

POSTAVO_PACKAGES=(
    cmake g++ make ccache pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev qt6-webengine-dev libgl-dev
    nginx-light openssl
    xvfb xauth fonts-dejavu-core
    dpkg-dev file desktop-file-utils appstream
)

postavo_missing_packages() {
    local p
    for p in "${POSTAVO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

postavo_install_packages() {
    local missing
    missing=$(postavo_missing_packages)
    [ -z "$missing" ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Missing packages ($missing) and no sudo to install them." >&2; return 1; }
        sudo="sudo"
    fi
    echo "Installing: $(echo $missing | tr '\n' ' ')"
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
    # Debian starts nginx when it installs it; the tests start their own instances.
    if command -v systemctl >/dev/null 2>&1; then $sudo systemctl disable --now nginx >/dev/null 2>&1 || true; fi
    $sudo service nginx stop >/dev/null 2>&1 || true
}

postavo_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
