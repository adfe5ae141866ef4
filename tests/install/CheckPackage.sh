#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree and checks what it holds: the exact
# file list, the dependencies, and what lintian, appstreamcli, desktop-file-validate and man say.
# Run as: CheckPackage.sh <build folder> <scratch folder> <version> <expected file list>
# Exits 77 (skipped) when a tool is missing; ./test.sh installs them all.
set -euo pipefail
build="$1" scratch="$2" version="$3" expected="$4"

missing=()
for tool in cpack dpkg-deb dpkg-shlibdeps file lintian appstreamcli desktop-file-validate man; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "skipped: not installed: ${missing[*]}"
    exit 77
fi

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
# Without `file`, CPack leaves the dependencies out with no more than a warning: the Depends
# check below catches that.
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/velto_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$scratch")"

# Exactly the files of the program: no test or benchmark program, nothing left out.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^/\?$' | sort >"$scratch/files"
grep -v '^#' "$expected" | sort | diff -u - "$scratch/files" || fail "the package's files differ from $expected"

depends=$(dpkg-deb -f "$deb" Depends)
# Exiv2 and TagLib come in through the helper program.
for package in libqt6widgets6 libpcre2-16-0 libc6 libexiv2-27 libtag1v5 qt6-qpa-plugins qt6-translations-l10n; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

# Warnings fail as well as errors; what lintian still says is information only.
lintian --fail-on error,warning "$deb" ||
    fail "lintian"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
# The tree check also ties the listing to its menu entry and the entry to its icon.
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
entry="$root/usr/share/applications/de.tollmark.Velto.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's icon $icon is not installed"
dangling=$(find "$root" -xtype l)
[ -z "$dangling" ] || fail "links that lead nowhere: $dangling"
for page in man1/velto.1.gz de/man1/velto.1.gz; do
    man_warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/$page" 2>&1 >/dev/null)
    [ -z "$man_warnings" ] || fail "man --warnings on $page: $man_warnings"
done
# The page man shows by default is the English one.
zcat "$root/usr/share/man/man1/velto.1.gz" | grep -q '^\.SH DESCRIPTION' || fail "man1/velto.1 is not the English page"
echo "package ok: $deb"
