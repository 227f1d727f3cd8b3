#!/usr/bin/env bash
# The soak's resident-memory figure without sanitizers: the same day of
# refreshes as scripts/soak.sh (REFRESHES, default 300; MINUTE_MS, default
# 200), in an optimised build of its own (build-bench), where the allocator
# is the one users run. The sanitizer build keeps freed memory and every
# allocation's stack for its reports, so its figure grows for its own reasons.
#   bench/measure_soak.sh [REFRESHES] [MINUTE_MS]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TYPE=RelWithDebInfo BUILD_TARGETS="voltwise test_soak" scripts/build.sh build-bench \
  -DVOLTWISE_BENCHMARKS=ON -DVOLTWISE_SANITIZE=OFF
export VOLTWISE_SOAK_REFRESHES=${1:-300} VOLTWISE_SOAK_MINUTE_MS=${2:-200}
dbus-run-session -- ctest --test-dir build-bench --output-on-failure -V -L soak |
  grep -E 'soak:|FAIL|tests passed'
