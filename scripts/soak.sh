#!/usr/bin/env bash
# The soak: the real program through REFRESHES refreshes (default 300, a day
# at five-minute intervals) against the simulator, with a minute of MINUTE_MS
# (default 200), in the sanitizer build of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TYPE=Debug BUILD_TARGETS="test_soak voltwise" scripts/build.sh build-test \
  -DVOLTWISE_SANITIZE=ON -DVOLTWISE_WERROR=ON
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export VOLTWISE_SOAK_REFRESHES=${1:-300} VOLTWISE_SOAK_MINUTE_MS=${2:-200}
exec dbus-run-session -- ctest --test-dir build-test --output-on-failure -V -L soak
