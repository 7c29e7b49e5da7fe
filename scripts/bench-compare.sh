#!/usr/bin/env bash
# Sets this build's Windows benches against another build's, in one run: frame_bench and
# gallery_bench of each build take turns (base, this, base, this, ...) on one fresh Wine
# prefix inside one Xvfb, so whatever else the machine does hits both alike. Prints every
# round's SUMMARY figures side by side; nothing asserted.
# Usage: bench-compare.sh BASE_BUILD_DIR [ROUNDS]
#   BASE_BUILD_DIR: a win64 build directory of the other revision with the benches built,
#   e.g. `git worktree add --detach /tmp/base REV && cmake --preset win64 -S /tmp/base
#   -B /tmp/base/build/win64 && cmake --build /tmp/base/build/win64 --target frame_bench
#   gallery_bench`. ROUNDS: turns per build (default 2).
# Environment: KV_BUILD_DIR (this build, default build/win64, built here unless
# KV_BENCH_NO_BUILD=1), KV_BENCH_PREFIX (default $KV_BUILD_DIR/compare-wineprefix),
# KV_BENCH_LOG (default $KV_BUILD_DIR/bench-compare.log).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ $# -ge 1 ] || { echo "usage: $0 BASE_BUILD_DIR [ROUNDS]" >&2; exit 2; }
base=$(realpath -m "$1")
rounds=${2:-2}
build=$(realpath -m "${KV_BUILD_DIR:-$root/build/win64}")
prefix=$(realpath -m "${KV_BENCH_PREFIX:-$build/compare-wineprefix}")
log="${KV_BENCH_LOG:-$build/bench-compare.log}"
benches="frame_bench gallery_bench"

"$root/scripts/install-deps.sh"
if [ "${KV_BENCH_NO_BUILD:-0}" != 1 ]; then
  cmake --preset win64 -B "$build" >/dev/null
  # shellcheck disable=SC2086
  cmake --build "$build" --target $benches
fi
for bench in $benches; do
  for dir in "$base" "$build"; do
    [ -x "$dir/bench/win/$bench.exe" ] || { echo "missing $dir/bench/win/$bench.exe" >&2; exit 2; }
  done
done
rm -rf "$prefix"
"$root/scripts/wine-prefix.sh" "$prefix"
source "$root/scripts/wine-env.sh" "$prefix"
: >"$log"
# Each bench's lines are tagged "base N" or "this N" for the table below.
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  rc=0
  for round in $(seq 1 "$3"); do
    for bench in '"$benches"'; do
      for side in base this; do
        dir=$1; [ $side = this ] && dir=$2
        echo "== $side $round $bench ($(uptime | sed "s/.*load/load/"))"
        "$0" "$dir/bench/win/$bench.exe" | sed "s/^SUMMARY|/SUMMARY|$side $round|/" || rc=$?
      done
    done
  done
  "'"$WINESERVER_BIN"'" -k 2>/dev/null
  exit $rc' "$WINE_BIN" "$base" "$build" "$rounds" 2>&1 | tee -a "$log" >/dev/null || true

echo "Base: $base"
echo "This: $build"
echo
# One row per measure, one column per run: base 1, this 1, base 2, this 2, ...
awk -F'|' '
  /^SUMMARY\|/ {
    run = $2; measure = $3
    if (!(run in seenRun)) { seenRun[run] = 1; runs[++nRuns] = run }
    if (!(measure in seenMeasure)) { seenMeasure[measure] = 1; measures[++nMeasures] = measure }
    figure[measure, run] = $5
  }
  END {
    printf "| measure |"; for (r = 1; r <= nRuns; ++r) printf " %s |", runs[r]; printf "\n"
    printf "|---|"; for (r = 1; r <= nRuns; ++r) printf "---|"; printf "\n"
    for (m = 1; m <= nMeasures; ++m) {
      printf "| %s |", measures[m]
      for (r = 1; r <= nRuns; ++r) printf " %s |", figure[measures[m], runs[r]]
      printf "\n"
    }
  }' "$log"
echo
grep -E '^== ' "$log" | sed 's/^/    /'
echo "(whole output: $log)"
