#!/usr/bin/env bash
# Builds Velto (release) when needed and starts it with the given file paths.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"

velto_ensure_packages
velto_build "$velto_root/build/release" -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF >&2
exec "$velto_root/build/release/src/app/velto" "$@"
