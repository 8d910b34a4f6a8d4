#!/usr/bin/env bash
# Whole-process start-up to the first painted frame and peak memory, for the
# program and for a bare Qt window with the same stock controls, offscreen and
# on Xvfb. Prints medians and the program's ratios to the baseline.
#   bench/startup/run.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build directory, e.g. build/release}
runs=${2:-40}
bare="$build/bench/startup/bench_startup_bare"
prog="$build/bench/startup/bench_startup_dorvane"

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

once() {  # platform program -> "ms rss_kib" of one run
  local t0=$EPOCHREALTIME
  /usr/bin/time -o "$tmp" -f '%M' env QT_QPA_PLATFORM="$1" "$2" >/dev/null 2>&1
  local t1=$EPOCHREALTIME
  echo "$(awk -v a="$t0" -v b="$t1" 'BEGIN {print (b - a) * 1000}') $(tail -1 "$tmp")"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

report() {
  # The two programs run in turn, so that a change of load on a shared
  # machine weighs on both alike.
  local platform=$1 bt=() br=() pt=() pr=() t r
  for ((i = 0; i < runs; i++)); do
    read -r t r <<<"$(once "$platform" "$bare")"
    bt+=("$t") br+=("$r")
    read -r t r <<<"$(once "$platform" "$prog")"
    pt+=("$t") pr+=("$r")
  done
  awk -v p="$platform" -v bt="$(printf '%s\n' "${bt[@]}" | median)" -v br="$(printf '%s\n' "${br[@]}" | median)" \
    -v pt="$(printf '%s\n' "${pt[@]}" | median)" -v pr="$(printf '%s\n' "${pr[@]}" | median)" 'BEGIN {
    printf "%-9s bare %6.1f ms %6.1f MiB | dorvane %6.1f ms %6.1f MiB | ratio time %.2fx memory %.2fx\n",
           p, bt, br / 1024, pt, pr / 1024, pt / bt, pr / br }'
}

echo "cpu_model: $(awk -F': *' '/^model name/ {print $2; exit}' /proc/cpuinfo)"
report offscreen
if command -v Xvfb >/dev/null; then
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  xvfb=$!  # only this server is stopped: others may run the same command line
  read -r -u 3 display
  export DISPLAY=":$display"
  report xcb
  kill "$xvfb" 2>/dev/null || true
fi
