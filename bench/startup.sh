#!/usr/bin/env bash
# Start-up of the program against an empty Qt Widgets window of the same size: wall time from exec
# to exit (each program quits after its first painted frame), peak resident memory and, when
# valgrind is installed, the instructions executed, under the offscreen platform and, when
# xvfb-run is installed, under X11 on Xvfb. The empty window with one line of text is measured
# too, to tell the window's own cost from the font system's start, and the empty window with the
# design's controls as plain Qt widgets, to tell it from what any window of this design costs.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build/dev, 30)
#
# The programs take turns run by run, so a machine whose load changes during the run slows all
# of them alike: wall time is the median of RUNS runs timed with $EPOCHREALTIME, and beside it the
# median of the processor time each run took (user and system, from the shell's times), which a
# busy machine disturbs far less; peak memory is the median of RUNS readings of
# /usr/bin/time -f %M. The instruction count (callgrind, one run) does not depend on the
# machine's load at all; it is the figure to compare builds by on a busy machine.
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

# Millions of instructions one run executes, or "-" without valgrind.
instructions() {
  local program=$1 out
  command -v valgrind >/dev/null || { echo -; return; }
  out=$(mktemp)
  valgrind --tool=callgrind --child-silent-after-fork=yes --callgrind-out-file=/dev/null "$program" 2>"$out" >/dev/null
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out" | head -n1 | awk '{ printf "%.1f\n", $1 / 1e6 }'
  rm -f "$out"
}

# Measures the programs on the given platform and prints one block: the program, the empty
# window, the empty window with a line of text (what any window that shows text pays) and with the
# design's widgets (what any window that shows this design pays).
measure() {
  local platform=$1 build=$2 runs=$3
  export QT_QPA_PLATFORM=$platform
  local label=$platform
  [ "$platform" = xcb ] && label="xcb (Xvfb)"
  local names=(real minimal text widgets) samples
  samples=$(mktemp -d)
  local name program i k timing
  for name in "${names[@]}"; do
    program=$build/bench/dieprofile-startup
    [ "$name" = real ] || program=$program-$name
    "$program" # warm the caches
  done
  for ((i = 0; i < runs; ++i)); do
    # Each round starts with another program, so none is always first after the others.
    for ((k = 0; k < ${#names[@]}; ++k)); do
      name=${names[(i + k) % ${#names[@]}]}
      program=$build/bench/dieprofile-startup
      [ "$name" = real ] || program=$program-$name
      # Wall time from the shell's clock (no process of its own), then the processor time of
      # the shell's children, which are the program alone.
      timing=$(
        start=$EPOCHREALTIME
        "$program"
        end=$EPOCHREALTIME
        echo "$start $end"
        times
      )
      awk 'NR == 1 { printf "%.0f\n", ($2 - $1) * 1e6 }' <<<"$timing" >>"$samples/$name.us"
      awk 'NR == 3 { n = split($0, t, /[ms]+/); print (t[1] * 60 + t[2] + t[3] * 60 + t[4]) * 1e6 }' \
        <<<"$timing" >>"$samples/$name.cpu"
      /usr/bin/time -f %M -o "$samples/time" "$program"
      cat "$samples/time" >>"$samples/$name.kib"
    done
  done
  printf '%-12s %-15s %10s %10s %10s %10s\n' "$label" program "wall ms" "CPU ms" "peak KiB" \
    "M instr"
  local ms best kib ins real_ms real_best real_kib real_ins minimal_ms minimal_best minimal_kib \
    minimal_ins text_ms text_best text_kib text_ins widgets_ms widgets_best widgets_kib widgets_ins
  for name in "${names[@]}"; do
    program=$build/bench/dieprofile-startup
    [ "$name" = real ] || program=$program-$name
    ms=$(median <"$samples/$name.us" | awk '{ printf "%.2f\n", $1 / 1000 }')
    best=$(median <"$samples/$name.cpu" | awk '{ printf "%.2f\n", $1 / 1000 }')
    kib=$(median <"$samples/$name.kib")
    ins=$(instructions "$program")
    printf -v "${name}_ms" %s "$ms"
    printf -v "${name}_best" %s "$best"
    printf -v "${name}_kib" %s "$kib"
    printf -v "${name}_ins" %s "$ins"
  done
  rm -rf "$samples"
  printf '%-12s %-15s %10s %10s %10s %10s\n' \
    "" dieprofile "$real_ms" "$real_best" "$real_kib" "$real_ins" \
    "" minimal "$minimal_ms" "$minimal_best" "$minimal_kib" "$minimal_ins" \
    "" "minimal+text" "$text_ms" "$text_best" "$text_kib" "$text_ins" \
    "" "widgets" "$widgets_ms" "$widgets_best" "$widgets_kib" "$widgets_ins"
  awk -v rm="$real_ms" -v mm="$minimal_ms" -v tm="$text_ms" \
    -v rb="$real_best" -v mb="$minimal_best" -v tb="$text_best" \
    -v rk="$real_kib" -v mk="$minimal_kib" -v tk="$text_kib" \
    -v ri="$real_ins" -v mi="$minimal_ins" -v ti="$text_ins" \
    -v wm="$widgets_ms" -v wb="$widgets_best" -v wk="$widgets_kib" -v wi="$widgets_ins" 'BEGIN {
      ratio_m = mi == "-" ? "-" : sprintf("%.2fx", ri / mi)
      ratio_t = ti == "-" ? "-" : sprintf("%.2fx", ri / ti)
      ratio_w = mi == "-" ? "-" : sprintf("%.2fx", wi / mi)
      ratio_rw = wi == "-" ? "-" : sprintf("%.2fx", ri / wi)
      printf "%-12s %-15s %9.2fx %9.2fx %9.2fx %10s\n", "", "real/minimal", rm / mm, rb / mb,
        rk / mk, ratio_m
      printf "%-12s %-15s %9.2fx %9.2fx %9.2fx %10s\n", "", "real/text", rm / tm, rb / tb, rk / tk,
        ratio_t
      printf "%-12s %-15s %9.2fx %9.2fx %9.2fx %10s\n", "", "widgets/minimal", wm / mm, wb / mb,
        wk / mk, ratio_w
      printf "%-12s %-15s %9.2fx %9.2fx %9.2fx %10s\n", "", "real/widgets", rm / wm, rb / wb,
        rk / wk, ratio_rw }'
}

if [ "${1:-}" = --measure ]; then
  [ $# -eq 4 ] || usage
  measure "$2" "$3" "$4"
  exit 0
fi

[ $# -le 2 ] || usage
build=$(cd "${1:-$here/../build/dev}" && pwd)
runs=${2:-30}
for program in dieprofile-startup dieprofile-startup-minimal dieprofile-startup-text \
  dieprofile-startup-widgets; do
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

echo "runs: $runs, the programs taking turns; wall and CPU: median; memory: /usr/bin/time %M median; instructions: $(command -v valgrind >/dev/null && echo "callgrind, one run" || echo "not counted (valgrind not installed)")"
echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
measure offscreen "$build" "$runs"
if command -v xvfb-run >/dev/null; then
  # One X server for all runs, so its own start-up is not counted.
  xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --measure xcb "$build" "$runs"
else
  echo "xcb: skipped (xvfb-run not installed)"
fi
