#!/usr/bin/env bash
# Installs what is missing, builds Postavo in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
postavo_install_packages
postavo_build build Release -DBUILD_TESTING=OFF
case " $* " in *" --help "* | *" -h "* | *" --help-all "* | *" --version "* | *" -v "*) exec ./build/bin/postavo "$@" ;; esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Postavo needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set (try: xvfb-run ./run.sh)." >&2
    exit 1
fi
exec ./build/bin/postavo "$@"
