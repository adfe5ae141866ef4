#!/usr/bin/env bash
# Builds Velto with its tests and benchmarks (warnings are errors) and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"

velto_ensure_packages "${velto_test_packages[@]}"
velto_check_format
velto_build "$velto_root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTO_WERROR=ON -DVELTO_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$velto_root/build/test" --output-on-failure "$@"
