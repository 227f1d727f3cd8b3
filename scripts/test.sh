#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (unit and end-to-end)
# on a private D-Bus session bus; the soak is scripts/soak.sh's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TYPE=Debug scripts/build.sh build-test -DVOLTWISE_SANITIZE=ON -DVOLTWISE_WERROR=ON
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec dbus-run-session -- ctest --test-dir build-test --output-on-failure -j2 -LE soak "$@"
