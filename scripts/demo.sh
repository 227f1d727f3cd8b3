#!/usr/bin/env bash
# The demo: the simulated grid operator walking through every condition
# level, and Voltwise pointed at it, in a throwaway configuration that
# leaves your own settings alone. A "minute" of the demo lasts 10 seconds
# (DEMO_MINUTE_MS), so each refresh shows the next level.
#
#   scripts/demo.sh [--feeds current|classic]
#
# --feeds chooses what the demo's configuration reads: the operator's feeds
# of today (current, the default) or the classic status file and pages.
# DEMO_RELEASE=9.0 makes the simulated maker offer a newer release, so the
# update dialog shows at start (and from Help > Check for Voltwise Updates...).
set -euo pipefail
cd "$(dirname "$0")/.."

feeds=current
while [ $# -gt 0 ]; do
  case "$1" in
    --feeds) feeds=${2:-}; shift 2 || shift ;;
    --feeds=*) feeds=${1#--feeds=}; shift ;;
    *) echo "usage: scripts/demo.sh [--feeds current|classic]" >&2; exit 2 ;;
  esac
done
case "$feeds" in
  current|classic) ;;
  *) echo "demo: --feeds takes current or classic" >&2; exit 2 ;;
esac
scripts/install-deps.sh
BUILD_TARGETS="voltwise voltwise-status voltwise-gridsim" scripts/build.sh build

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no desktop display found (DISPLAY is not set)" >&2
  exit 1
fi

demo=$(mktemp -d /tmp/voltwise-demo.XXXXXX)
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$demo"
}
trap cleanup EXIT

release=()
[ -n "${DEMO_RELEASE:-}" ] && release=(--release-version "$DEMO_RELEASE")
build/bin/voltwise-gridsim --port 0 --scenario "${DEMO_SCENARIO:-walk}" --advance-refreshes 1 \
  "${release[@]}" >"$demo/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$demo/sim.out" 2>/dev/null && break
  sleep 0.1
done
url=$(sed -n 's/^listening on //p' "$demo/sim.out")
[ -n "$url" ] || { echo "demo: the simulator did not start" >&2; exit 1; }
echo "demo: simulated grid operator at $url, $feeds feeds"

mkdir -p "$demo/config/Ternwood"
cat >"$demo/config/Ternwood/Voltwise.conf" <<CONF
[Servers]
Feeds=$feeds
GridMain=$url
GridContent=$url
FlexAlerts=$url
Maker=$url

[Settings]
UpdateInterval=1
ShowAtStartup=True
CONF

XDG_CONFIG_HOME="$demo/config" VOLTWISE_TEST_MINUTE_MS="${DEMO_MINUTE_MS:-10000}" \
  build/bin/voltwise
