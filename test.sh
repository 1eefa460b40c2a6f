#!/usr/bin/env bash
# Installs what is missing, builds Postavo with its tests and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
postavo_install_packages --tests
postavo_install_editors build-tests
postavo_build build-tests RelWithDebInfo -DPOSTAVO_FUZZ=ON
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
cd build-tests
ctest --output-on-failure -j"$(nproc)" --timeout 300
