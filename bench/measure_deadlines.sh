#!/usr/bin/env bash
# How long one refresh of voltwise-status and one update check take when the
# simulated operator stalls or drips every resource. Runs the cases side by
# side (they mostly wait) and prints one line per case: name, seconds, exit
# status (124: still running when the cap ran out).
#
#   bench/measure_deadlines.sh [BUILD_DIR] [CAP_SECONDS] [CASES]
#
# BUILD_DIR defaults to build-release (scripts/build.sh build-release); CASES
# is a regular expression that picks cases by name.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build-release}/bin
cap=${2:-900}
cases=${3:-.}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

current=(/outlook/current/stats.txt /outlook/current/demand.csv
         /TodaysOutlookApi/api/EmergencyNotices/v2/ActiveFlexAlertEvents)
classic=(/outlook/systemstatus.csv /outlook/SP/ems_small.gif /outlook/SP/outlook.html
         /awe/forecast.html /awe/SP/systemstatus.html)
stall=stall
# A body that never ends (chunked: no length to refuse it by), one KiB at a
# time, each well within every silence limit.
drip=chunked,oversize:100000000,trickle:20
slow_drip=chunked,oversize:100000000,trickle:8000

# run NAME 'voltwise-status ARGS' PATH=FAULT...
run() {
    local name=$1 args=$2
    shift 2
    [[ $name =~ $cases ]] || return 0
    local faults=()
    for f in "$@"; do faults+=(--fault "$f"); done
    mkdir -p "$work/$name"
    "$bin/voltwise-gridsim" --port 0 "${faults[@]}" >"$work/$name/sim" 2>/dev/null &
    local sim=$!
    local url=
    for _ in $(seq 100); do
        url=$(grep -o 'http://127.0.0.1:[0-9]*' "$work/$name/sim" || true)
        [ -n "$url" ] && break
        sleep 0.1
    done
    local start=$(date +%s.%N) status=0
    # shellcheck disable=SC2086
    XDG_CONFIG_HOME="$work/$name" timeout "$cap" "$bin/voltwise-status" --server "$url" $args \
        >/dev/null 2>&1 || status=$?
    local end=$(date +%s.%N)
    kill "$sim" 2>/dev/null || true
    printf '%-28s %7.1f s  exit %s\n' "$name" "$(echo "$end - $start" | bc)" "$status"
}

each() { local fault=$1; shift; for p in "$@"; do printf '%s=%s ' "$p" "$fault"; done; }

# shellcheck disable=SC2046
{
    run current-all-stall "--feeds current" $(each $stall "${current[@]}") &
    run current-all-drip "--feeds current" $(each $drip "${current[@]}") &
    run current-stall-and-drip "--feeds current" "${current[0]}=$stall" \
        $(each $drip "${current[@]:1}") &
    run classic-all-stall "--feeds classic" $(each $stall "${classic[@]}") &
    run classic-all-drip "--feeds classic" $(each $drip "${classic[@]}") &
    run update-descriptor-stall "--check-update" "/voltwise/voltwise.inf=$stall" &
    run update-descriptor-drip "--check-update" "/voltwise/voltwise.inf=$slow_drip" &
    wait
}
