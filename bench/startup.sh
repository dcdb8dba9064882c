#!/usr/bin/env bash
# Start-up of the program against an empty Qt Widgets window of the same size: wall time from exec
# to exit (each program quits after its first painted frame) and peak resident memory, under the
# offscreen platform and, when xvfb-run is installed, under X11 on Xvfb. The empty window with one
# line of text is measured too, to tell the window's own cost from the font system's start.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build/dev, 30)
#
# Wall time comes from hyperfine when it is installed (median of RUNS after 3 warm-up runs),
# otherwise from a loop over date +%s%N (median of RUNS). Peak memory is the median of RUNS
# readings of /usr/bin/time -f %M.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

usage() {
  echo "usage: $0 [BUILD_DIR] [RUNS]" >&2
  exit 2
}

median() { # numbers on stdin, one a line
  sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1;
    if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Median wall time in milliseconds of RUNS runs of one program.
wall_ms() {
  local program=$1 runs=$2
  if command -v hyperfine >/dev/null; then
    local csv
    csv=$(mktemp)
    hyperfine --style none --warmup 3 --runs "$runs" --export-csv "$csv" "$program" >/dev/null
    # command,mean,stddev,median,user,system,min,max; seconds
    awk -F, 'NR == 2 { printf "%.2f\n", $4 * 1000 }' "$csv"
    rm -f "$csv"
  else
    local i start end
    "$program" # warm the caches as hyperfine does
    for ((i = 0; i < runs; ++i)); do
      start=$(date +%s%N)
      "$program"
      end=$(date +%s%N)
      echo $(((end - start) / 1000))
    done | median | awk '{ printf "%.2f\n", $1 / 1000 }'
  fi
}

# Median peak resident set in KiB of RUNS runs of one program.
peak_kib() {
  local program=$1 runs=$2 i out
  out=$(mktemp)
  for ((i = 0; i < runs; ++i)); do
    /usr/bin/time -f %M -o "$out" "$program"
    cat "$out"
  done | median
  rm -f "$out"
}

# Measures the programs on the given platform and prints one block: the program, the empty
# window, and the empty window with a line of text (what any window that shows text pays).
measure() {
  local platform=$1 build=$2 runs=$3
  export QT_QPA_PLATFORM=$platform
  local label=$platform
  [ "$platform" = xcb ] && label="xcb (Xvfb)"
  printf '%-12s %-14s %10s %10s\n' "$label" program "wall ms" "peak KiB"
  local name ms kib real_ms real_kib minimal_ms minimal_kib text_ms text_kib
  for name in real minimal text; do
    local program=$build/bench/dieprofile-startup
    [ $name = real ] || program=$program-$name
    ms=$(wall_ms "$program" "$runs")
    kib=$(peak_kib "$program" "$runs")
    printf -v "${name}_ms" %s "$ms"
    printf -v "${name}_kib" %s "$kib"
  done
  printf '%-12s %-14s %10s %10s\n' "" dieprofile "$real_ms" "$real_kib" \
    "" minimal "$minimal_ms" "$minimal_kib" "" "minimal+text" "$text_ms" "$text_kib"
  awk -v rm="$real_ms" -v mm="$minimal_ms" -v tm="$text_ms" \
    -v rk="$real_kib" -v mk="$minimal_kib" -v tk="$text_kib" 'BEGIN {
      printf "%-12s %-14s %9.2fx %9.2fx\n", "", "real/minimal", rm / mm, rk / mk
      printf "%-12s %-14s %9.2fx %9.2fx\n", "", "real/text", rm / tm, rk / tk }'
}

if [ "${1:-}" = --measure ]; then
  [ $# -eq 4 ] || usage
  measure "$2" "$3" "$4"
  exit 0
fi

[ $# -le 2 ] || usage
build=$(cd "${1:-$here/../build/dev}" && pwd)
runs=${2:-30}
for program in dieprofile-startup dieprofile-startup-minimal dieprofile-startup-text; do
  [ -x "$build/bench/$program" ] || {
    echo "$0: $build/bench/$program is missing; build with benchmarks on (the dev preset)" >&2
    exit 1
  }
done
[ -x /usr/bin/time ] || { echo "$0: needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

# A private runtime directory, so Qt neither warns nor shares one with a desktop session.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

echo "runs: $runs; wall: $(command -v hyperfine >/dev/null && echo hyperfine median || echo date loop median); memory: /usr/bin/time %M median"
echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
measure offscreen "$build" "$runs"
if command -v xvfb-run >/dev/null; then
  # One X server for all runs, so its own start-up is not counted.
  xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --measure xcb "$build" "$runs"
else
  echo "xcb: skipped (xvfb-run not installed)"
fi
