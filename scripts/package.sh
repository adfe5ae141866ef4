#!/usr/bin/env bash
# Builds the Debian package build/package/velto_<version>_<arch>.deb from a release build with
# Debian's hardening flags.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

velto_ensure_packages "${velto_package_packages[@]}"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
velto_build "$velto_root/build/package" -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
cpack --config "$velto_root/build/package/CPackConfig.cmake" -B "$velto_root/build/package"
