#!/bin/bash
# Memory of the running program per listed row: starts Velto on the offscreen platform
# with no files, with N and with 2N empty files named "IMG_0000000.jpg" on its command
# line, waits until its resident size stays put for two seconds, and reports the growth
# per row above the UTF-16 text of its names (the old name and the new one, which the
# start mask [NAME][TYP] makes as long), twice: at the peak (VmHWM), which is what a
# machine must have free, and settled (VmRSS).
#   bench/rss_per_row.sh [path/to/velto] [N]   (defaults: build/bench/src/app/velto 100000)
set -euo pipefail
velto=$(realpath "${1:-build/bench/src/app/velto}")
count=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
       XDG_RUNTIME_DIR=$work/home QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$work/files"
chmod 700 "$HOME"
cd "$work/files"
seq -f 'IMG_%07g.jpg' 0 $((2 * count - 1)) | xargs touch
ulimit -s unlimited # the kernel's room for a long argument list is a quarter of the stack limit

# rss FILE...: "settled peak", the resident kB of Velto once it has settled and at its peak
rss() {
    "$velto" "$@" >/dev/null 2>&1 &
    local pid=$! last=0 same=0 now
    sleep 1
    while ((same < 8)); do
        sleep 0.25
        now=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
        if ((now == last)); then same=$((same + 1)); else same=0; last=$now; fi
    done
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$last $peak"
}

names=(IMG_*.jpg)
read -r empty emptyPeak < <(rss)
read -r one onePeak < <(rss "${names[@]:0:count}")
read -r two twoPeak < <(rss "${names[@]}")
text=$((2 * 2 * ${#names[0]}))
echo "resident settled: empty ${empty} kB, ${count} rows ${one} kB, $((2 * count)) rows ${two} kB"
echo "resident at peak: empty ${emptyPeak} kB, ${count} rows ${onePeak} kB, $((2 * count)) rows ${twoPeak} kB"
report() {
    awk -v what="$1" -v e="$2" -v a="$3" -v b="$4" -v n="$count" -v t="$text" 'BEGIN {
        printf "%s, per row against empty: %.0f B (%.0f B above %d B of name text)\n", what, (a - e) * 1024 / n, (a - e) * 1024 / n - t, t
        printf "%s, per row, %d more rows: %.0f B (%.0f B above the text)\n", what, n, (b - a) * 1024 / n, (b - a) * 1024 / n - t
    }'
}
report "peak" "$emptyPeak" "$onePeak" "$twoPeak"
report "settled" "$empty" "$one" "$two"
