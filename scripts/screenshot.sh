#!/usr/bin/env bash
# Takes a PNG screenshot of the main window showing its load chart: the
# simulated grid operator and Voltwise in a throwaway configuration on a
# virtual display, with the pointer on the chart so that the read-out shows.
#   scripts/screenshot.sh [OUT.png]     (default docs/main-window.png)
# FEEDS=classic reads the classic files instead of today's feeds; SCALE (default 2)
# is the pixel density, so the picture stays sharp on high-density screens.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/main-window.png}
scripts/install-deps.sh
BUILD_TARGETS="voltwise voltwise-gridsim" scripts/build.sh build

work=$(mktemp -d /tmp/voltwise-shot.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=":$((200 + RANDOM % 500))"
Xvfb "$DISPLAY" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

build/bin/voltwise-gridsim --port 0 --scenario normal >"$work/sim.out" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do grep -q '^listening on ' "$work/sim.out" && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/sim.out")
[ -n "$url" ] || { echo "screenshot: the simulator did not start" >&2; exit 1; }

mkdir -p "$work/config/Ternwood"
printf '[Servers]\nFeeds=%s\nGridMain=%s\nGridContent=%s\nFlexAlerts=%s\nMaker=%s\n[Settings]\nShowAtStartup=True\nPlaySound=False\n' \
  "${FEEDS:-current}" "$url" "$url" "$url" "$url" >"$work/config/Ternwood/Voltwise.conf"
XDG_CONFIG_HOME="$work/config" LC_ALL=en_US.UTF-8 QT_SCALE_FACTOR="${SCALE:-2}" build/bin/voltwise >/dev/null 2>&1 &
pids+=($!)

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Voltwise$' | head -n 1)
[ -n "$window" ] || { echo "screenshot: the main window did not appear" >&2; exit 1; }
sleep 3 # the first refresh
eval "$(xdotool getwindowgeometry --shell "$window")"
# On the chart, a little right of its middle: the read-out of the nearest point.
xdotool mousemove --window "$window" $((WIDTH * 3 / 5)) $((HEIGHT * 11 / 20))
sleep 1
mkdir -p "$(dirname "$out")"
scrot --overwrite --autoselect "$X,$Y,$WIDTH,$HEIGHT" "$out"
echo "screenshot: $out"
