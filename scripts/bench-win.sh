#!/usr/bin/env bash
# Builds and runs every bench once, figures only, nothing asserted:
#   under Wine inside Xvfb, with the prefix the program runs in (the virtual desktop, so
#   Wine leaves the frame to us): frame_bench (the editor: start-up, full repaint, frame
#   paint, region, hover, idle CPU), scroll_bench, menu_bench, gallery_bench (the gallery's
#   pages repainted, a skin switch with every gallery window open);
#   natively (Google Benchmark): skin_model_bench (both skins' containers: unpack, open,
#   model) and skin_bench (LZH, nine-slice, region rectangles).
# Ends with one markdown table of the published figures (measure, target, figure, verdict)
# made from the benches' SUMMARY lines. Every figure is wall time on this machine: the
# benches print how much of a core they got and how long a Wine server round trip took,
# and `uptime` is shown before each bench, since other work on the machine slows Wine's
# paints many times over. Takes about ten minutes after the build.
# Environment: KV_BUILD_DIR (default build/win64), KV_NATIVE_BUILD_DIR (default
# build/native), KV_BENCH_LOG (default $KV_BUILD_DIR/bench-win.log, the whole output),
# KV_BENCH_PREFIX (the Wine prefix, default $KV_BUILD_DIR/bench-wineprefix),
# KV_BENCH_NO_BUILD=1 (run what is built; for a build directory someone else builds).
# With --native-only or --wine-only just that half runs. With --server-trace, only: the
# Wine server requests one full repaint of the editor makes, skinned and not, and one
# gallery skin switch each way, by request (frame_bench and gallery_bench --server-trace
# under WINEDEBUG=+server), to see where the time of a slow repaint or switch goes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

run_wine=1
run_native=1
trace=0
case "${1:-}" in
  --native-only) run_wine=0 ;;
  --wine-only) run_native=0 ;;
  --server-trace) trace=1 ;;
  "") ;;
  *) echo "usage: $0 [--native-only|--wine-only|--server-trace]" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh"
build="${KV_BUILD_DIR:-$root/build/win64}"
build=$(realpath -m "$build")
native="${KV_NATIVE_BUILD_DIR:-$root/build/native}"
native=$(realpath -m "$native")
prefix=$(realpath -m "${KV_BENCH_PREFIX:-$build/bench-wineprefix}")
log="${KV_BENCH_LOG:-$build/bench-win.log}"
mkdir -p "$(dirname "$log")"
: >"$log"
rc=0

# build_targets DIR PRESET TARGET...
build_targets() {
  local dir=$1 preset=$2
  shift 2
  [ "${KV_BENCH_NO_BUILD:-0}" = 1 ] && return 0
  cmake --preset "$preset" -B "$dir" >/dev/null
  cmake --build "$dir" --target "$@"
}

if [ $trace = 1 ]; then
  build_targets "$build" win64 frame_bench gallery_bench
  "$root/scripts/wine-prefix.sh" "$prefix"
  source "$root/scripts/wine-env.sh" "$prefix"
  repaints=10
  trace_log="${log%.log}-server-trace.log"
  : >"$trace_log"
  # One session each: the second program of a session left no marker lines in the trace.
  for traced in "frame_bench.exe --server-trace $repaints" "gallery_bench.exe --server-trace"; do
    xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
      WINEDEBUG=+server,+debugstr "$0" "$1/bench/win/"$3 2>>"$2"
      rc=$?
      "'"$WINESERVER_BIN"'" -k 2>/dev/null
      exit $rc' "$WINE_BIN" "$build" "$trace_log" "$traced"
  done
  # Request lines are "tid: name( args )"; replies "tid: name() = status { ... }". The
  # editor's marked stretches hold $repaints full repaints, the gallery's one skin switch.
  awk -v n=$repaints '
    /KVTRACE begin/ {
      kind = $NF; sub(/\\n"$/, "", kind); sub(/"$/, "", kind); on = 1
      if (!(kind in seen)) { seen[kind] = 1; order[++kinds] = kind }
      next
    }
    /KVTRACE end/ { on = 0; next }
    on && match($0, /^[0-9a-f]+: [a-z_]+\(/) && $0 !~ /^[0-9a-f]+: [a-z_]+\(\) = / {
      name = substr($0, RSTART, RLENGTH); sub(/^[0-9a-f]+: /, "", name); sub(/\($/, "", name)
      count[kind, name]++; total[kind]++; names[name] = 1
    }
    END {
      for (k = 1; k <= kinds; ++k) {
        per[order[k]] = order[k] ~ /^editor/ ? n : 1
        printf "%s: %.0f server requests per %s\n", order[k], total[order[k]] / per[order[k]],
          order[k] ~ /^editor/ ? "full repaint" : "switch"
      }
      printf "%-28s", "request"
      for (k = 1; k <= kinds; ++k) printf " %18s", order[k]
      printf "\n"
      for (r in names) {
        line = sprintf("%-28s", r)
        for (k = 1; k <= kinds; ++k) line = line sprintf(" %18.1f", count[order[k], r] / per[order[k]])
        print line | "sort -k2 -n -r"
      }
    }' "$trace_log"
  exit 0
fi

if [ $run_wine = 1 ]; then
  build_targets "$build" win64 frame_bench scroll_bench menu_bench gallery_bench
  "$root/scripts/wine-prefix.sh" "$prefix"
  source "$root/scripts/wine-env.sh" "$prefix"
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    rc=0
    for bench in frame_bench scroll_bench menu_bench gallery_bench; do
      echo "== $bench ($(uptime | sed "s/.*load/load/"))"
      "$0" "$1/bench/win/$bench.exe" || rc=$?
    done
    "'"$WINESERVER_BIN"'" -k 2>/dev/null
    exit $rc' "$WINE_BIN" "$build" 2>&1 | tee -a "$log" || rc=$?
fi

if [ $run_native = 1 ]; then
  build_targets "$native" native skin_model_bench skin_bench
  for bench in skin_model_bench skin_bench; do
    echo "== $bench ($(uptime | sed 's/.*load/load/'))" | tee -a "$log"
    # Five repetitions, the median kept: the machine's other work shows as spread.
    "$native/bench/skin/$bench" --benchmark_color=false --benchmark_repetitions=5 \
      --benchmark_report_aggregates_only=true 2>&1 | tee -a "$log" || rc=$?
  done
fi

# ---- the table
cpu=$(grep -c ^processor /proc/cpuinfo)
wine_version=$( (/usr/lib/wine/wine64 --version || true) 2>/dev/null)
echo
echo "Measured $(date -u +%Y-%m-%d) on $cpu cores, $wine_version under Xvfb; command: scripts/bench-win.sh"
echo
echo "| Measure | Target | Figure | Verdict |"
echo "|---|---|---|---|"
grep '^SUMMARY|' "$log" | awk -F'|' '{ printf "| %s | %s | %s | %s |\n", $2, $3, $4, $5 }'
# Native rows from Google Benchmark's console lines: name, time, unit, CPU, unit, counters.
awk '
  function counter(key,   i, kv) {
    for (i = 6; i <= NF; ++i) { split($i, kv, "="); if (kv[1] == key) return kv[2] }
    return "?"
  }
  $1 ~ /^BM_UnpackRepacked\/.*_median$/ {
    skin = $1; sub(/^BM_UnpackRepacked\//, "", skin); sub(/_median$/, "", skin)
    printf "| LZH decode, %s container as our encoder packs it (native, CPU) | - | %s %s (%s), packed/unpacked %.3f (%s of %s bytes) | - |\n",
      skin, $4, $5, counter("bytes_per_second"), counter("packed_per_unpacked"), counter("packed_bytes"), counter("unpacked_bytes")
  }
  $1 ~ /^BM_OpenSkin\/.*_median$/ {
    skin = $1; sub(/^BM_OpenSkin\//, "", skin); sub(/_median$/, "", skin)
    printf "| Container open, %s (native, CPU) | - | %s %s | - |\n", skin, $4, $5
  }
  $1 ~ /^BM_LoadSkin\/.*_median$/ {
    skin = $1; sub(/^BM_LoadSkin\//, "", skin); sub(/_median$/, "", skin)
    printf "| Skin load: unpack, parse, model with every picture, %s (native, CPU) | - | %s %s | - |\n", skin, $4, $5
  }
' "$log"
echo
# How busy the machine was: every Wine figure above is wall time and grows with this.
grep -E '^(== |machine )' "$log" | sed 's/^/    /'
echo
echo "(whole output: $log)"
exit $rc
