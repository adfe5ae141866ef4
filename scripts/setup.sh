# Shared set-up of run.sh and test.sh: installs the Debian packages that are missing and
# configures and builds one build folder. Sourced, not run.

velto_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Packages needed to build and run Velto on Debian 12; CMake finds PCRE2, Exiv2 and TagLib through
# pkgconf. lupdate and lrelease (qt6-l10n-tools, found through qt6-tools-dev) build the English
# texts into the program; qt6-translations-l10n has Qt's own German ones.
velto_packages=(cmake ninja-build g++ qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    libbenchmark-dev libpcre2-dev pkgconf fonts-dejavu-core libexiv2-dev libtag1-dev)
# To build the Debian package: dpkg-shlibdeps and dpkg-buildflags, and `file`, through which
# CPack finds the programs whose libraries become dependencies.
velto_package_packages=(dpkg-dev file)
# And for its tests: a FAT image mounted through FUSE is the case-folding file system;
# desktop-file-validate checks the desktop entries; clang-format keeps the code in one shape;
# the package test builds the Debian package and checks it with lintian, appstreamcli and man;
# Qt writes the TIFF and WebP test photos only through the image format plugins. The metadata
# benchmark, built with the tests, measures itself against the exiv2 and exiftool programs.
velto_test_packages=(dosfstools fusefat desktop-file-utils clang-format "${velto_package_packages[@]}"
    lintian appstream man-db qt6-image-formats-plugins exiv2 libimage-exiftool-perl)

# velto_ensure_packages [more packages...]
velto_ensure_packages() {
    local missing=()
    local package
    for package in "${velto_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0

    local run_as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            run_as_root=(sudo)
        else
            echo "Velto needs these Debian packages: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) and start again." >&2
            exit 1
        fi
    fi
    echo "Installing missing packages: ${missing[*]}"
    if ! "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q ||
        ! "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"; then
        echo "Could not install: ${missing[*]}. Install them as root and start again." >&2
        exit 1
    fi
}

# velto_build <build folder> <cmake options...>
velto_build() {
    local build_dir="$1"
    shift
    if [ ! -f "$build_dir/build.ninja" ]; then
        cmake -S "$velto_root" -B "$build_dir" -G Ninja "$@"
    fi
    cmake --build "$build_dir" --parallel "$(nproc)"
}

# velto_check_format: fails, naming the files, where code in src, tests, bench or fuzz differs
# from .clang-format.
velto_check_format() {
    local unformatted
    unformatted=$(cd "$velto_root" && find src tests bench fuzz -name '*.cpp' -o -name '*.h' |
        xargs -r clang-format --dry-run 2>&1 | sed -n 's/^\([^:]*\):.*warning:.*/\1/p' | sort -u)
    if [ -n "$unformatted" ]; then
        echo "These files differ from .clang-format (run clang-format -i on them):" >&2
        echo "$unformatted" >&2
        exit 1
    fi
}
