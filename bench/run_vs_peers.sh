#!/bin/bash
# Velto's whole rename run through the window (bench_window_rename: the click on "Umtaufen!" to
# the final status) beside mmv and perl's rename over the same number of fresh files, one after
# the other on one core, in one run. Needs Debian's mmv and rename.
#   bench/run_vs_peers.sh [path/to/bench_window_rename] [N]   (defaults: build/bench/..., 100000)
set -euo pipefail
bench=$(realpath "${1:-build/bench/bench/bench_window_rename}")
count=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ulimit -s unlimited # mmv and rename take the names on their command line

fresh() {
    rm -rf "$work/d"
    mkdir "$work/d"
    (cd "$work/d" && seq -f 'IMG_%g.jpg' 0 $((count - 1)) | xargs touch)
    sync
}

ms() { echo $((($2 - $1) / 1000000)); }

taskset -c 1 "$bench" "$count" | sed 's/^/velto: /'
fresh
cd "$work/d"
start=$(date +%s%N)
taskset -c 1 mmv 'IMG_*' 'Urlaub_#1'
echo "mmv: $(ms "$start" "$(date +%s%N)") ms"
fresh
cd "$work/d"
start=$(date +%s%N)
taskset -c 1 rename 's/^IMG_/Urlaub_/' IMG_*
echo "perl rename: $(ms "$start" "$(date +%s%N)") ms"
