#!/usr/bin/env bash
# Measures what Voltwise costs while it runs: memory (resident and
# proportional set size) and CPU time over a stretch of refreshes against the
# simulated grid operator, on a virtual display with a tray host. Each mode
# of MODES (default "hidden shown") is a run of its own: "hidden" starts in
# the tray, "shown" starts with the main window open on its first tab.
#   bench/measure_resources.sh [BUILD_DIR] [SECONDS] [MINUTE_MS] [PATH=FAULT ...]
# FEEDS=classic measures the classic files instead of today's feeds.
# A short MINUTE_MS makes every "minute" of the program a refresh, so the
# figures show the cost of refreshing, not of sleeping. Faults are the
# simulator's (voltwise-gridsim --help), e.g. a body cut short:
#   FEEDS=classic bench/measure_resources.sh build 60 2000 /outlook/SP/outlook.html=oversize:4000000,cut
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-60}
minute_ms=${3:-2000}
modes=${MODES:-hidden shown}
faults=()
for fault in "${@:4}"; do faults+=(--fault "$fault"); done

work=$(mktemp -d /tmp/voltwise-measure.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

display=":$((200 + RANDOM % 500))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
DISPLAY=$display trayer --edge bottom --align right >/dev/null 2>&1 &
pids+=($!)

"$build/bin/voltwise-gridsim" --port 0 --scenario walk --advance-refreshes 1 "${faults[@]}" \
  >"$work/sim.out" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do grep -q '^listening on ' "$work/sim.out" && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/sim.out")

ticks=$(getconf CLK_TCK)
kib() { awk -v key="$1" '$1 == key ":" {print $2}' "$2"; }
# Private pages: the part of PSS that other programs sharing the libraries
# do not change.
private() { awk '$1 ~ /^Private_(Clean|Dirty):$/ {sum += $2} END {print sum}' "$1"; }

for mode in $modes; do
  case $mode in
    hidden) show=False ;;
    shown) show=True ;;
    *) echo "measure: unknown mode $mode (hidden or shown)" >&2; exit 2 ;;
  esac
  config="$work/config-$mode"
  mkdir -p "$config/Ternwood"
  printf '[Servers]\nFeeds=%s\nGridMain=%s\nGridContent=%s\nFlexAlerts=%s\nMaker=%s\n[Settings]\nUpdateInterval=1\nPlaySound=False\nShowAtStartup=%s\n' \
    "${FEEDS:-current}" "$url" "$url" "$url" "$url" "$show" >"$config/Ternwood/Voltwise.conf"

  before=$(curl -s "$url/_sim/state" | sed -n 's/.*"refreshes": *\([0-9]*\).*/\1/p')
  DISPLAY=$display XDG_CONFIG_HOME="$config" LC_ALL=en_US.UTF-8 \
    VOLTWISE_TEST_MINUTE_MS="$minute_ms" "$build/bin/voltwise" >/dev/null 2>&1 &
  app=$!
  pids+=($app)
  sleep 3

  cpu() { awk '{print $14 + $15}' "/proc/$app/stat"; }
  start_cpu=$(cpu)
  start_rss=$(kib VmRSS "/proc/$app/status")
  start_pss=$(kib Pss "/proc/$app/smaps_rollup")
  start_private=$(private "/proc/$app/smaps_rollup")
  sleep "$seconds"
  end_cpu=$(cpu)
  end_rss=$(kib VmRSS "/proc/$app/status")
  end_pss=$(kib Pss "/proc/$app/smaps_rollup")
  end_private=$(private "/proc/$app/smaps_rollup")
  peak=$(kib VmHWM "/proc/$app/status")
  kill "$app"
  wait "$app" 2>/dev/null || true
  after=$(curl -s "$url/_sim/state" | sed -n 's/.*"refreshes": *\([0-9]*\).*/\1/p')

  echo "$mode: ${seconds} s, one refresh per ${minute_ms} ms ($((${after:-0} - ${before:-0})) refreshes)"
  echo "$mode: PSS ${start_pss} KiB after start-up, ${end_pss} KiB at the end" \
    "(private ${start_private} and ${end_private} KiB)"
  echo "$mode: resident memory ${start_rss} KiB after start-up, ${end_rss} KiB at the end, peak ${peak} KiB"
  awk -v c=$((end_cpu - start_cpu)) -v t="$ticks" -v s="$seconds" -v m="$mode" \
    'BEGIN { printf "%s: CPU time %.2f s over %d s (%.2f %% of one core)\n", m, c / t, s, 100 * c / t / s }'
done
