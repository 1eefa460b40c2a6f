#!/usr/bin/env bash
# Installs whatever the build, the program and the tests need, from Debian 12's packages and, for the tests'
# rich-text editors, the npm registry. Sourced by run.sh and test.sh; installs nothing that is already there.
set -euo pipefail

POSTAVO_PACKAGES=(
    cmake g++ make ccache pkg-config
    qt6-base-dev qt6-webengine-dev libgl-dev
    qt6-l10n-tools qt6-translations-l10n
    nginx-light
    xvfb xauth fonts-dejavu-core
)

# What only the tests need: test certificates, the fuzz targets' compiler, the package and install checks,
# a rich-text editor from Debian, a session bus of the tests' own for desktop notifications and systemd's
# checker of the timer's units.
POSTAVO_TEST_PACKAGES=(
    openssl
    dbus-daemon
    clang libclang-rt-14-dev
    dpkg-dev file desktop-file-utils appstream
    ckeditor
    systemd
)

# The rich-text editors the web tests fill, pinned; installed into the build tree, never committed.
# simplemde and easymde bundle CodeMirror 5; the CodeMirror 6 view is loaded as ES modules, without a bundler.
POSTAVO_NPM_EDITORS=(sceditor@3.2.0 tinymce@6.8.5 quill@2.0.3 simplemde@1.11.2 easymde@2.21.0 @codemirror/state@6.4.1
    @codemirror/view@6.26.3 style-mod@4.1.2 w3c-keyname@2.2.8 jodit@4.15.13 @ckeditor/ckeditor5-build-classic@44.3.0
    trix@2.1.19)

# postavo_missing_packages [--tests]
postavo_missing_packages() {
    local p packages=("${POSTAVO_PACKAGES[@]}")
    [ "${1:-}" = --tests ] && packages+=("${POSTAVO_TEST_PACKAGES[@]}")
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
    # A Node.js from elsewhere brings its own npm; Debian's comes in two packages.
    if [ "${1:-}" = --tests ]; then command -v npm >/dev/null || echo "nodejs npm"; fi
}

# postavo_install_packages [--tests]: what the program needs, and with --tests what its tests need too.
postavo_install_packages() {
    local missing
    missing=$(postavo_missing_packages "$@")
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

# Installs the editors of POSTAVO_NPM_EDITORS into <build dir>/editors, unless that set is there already.
postavo_install_editors() {
    local dir=$1/editors
    local stamp
    stamp="$dir/installed-$(echo "${POSTAVO_NPM_EDITORS[*]}" | tr ' @/' '_+-')"
    [ -f "$stamp" ] && return 0
    mkdir -p "$dir"
    echo "Installing from npm into $dir: ${POSTAVO_NPM_EDITORS[*]}"
    npm install --prefix "$dir" --no-audit --no-fund --loglevel=error "${POSTAVO_NPM_EDITORS[@]}"
    touch "$stamp"
}
