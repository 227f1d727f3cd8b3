#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for SECONDS
# (default 60), one after another, from its seed corpus (fuzz/corpus/NAME) and
# past findings (fuzz/regressions/NAME), with its dictionary. Inputs that add
# coverage go to build-fuzz/corpus/NAME, crashing inputs to
# build-fuzz/findings/, logs to build-fuzz/logs/. Any finding fails the run.
#   FUZZ_TARGETS="status_csv version"  runs only these
#   FUZZ_ARGS="-runs=10000000"         adds libFuzzer options
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} BUILD_TARGETS=fuzzers scripts/build.sh build-fuzz \
  -DCMAKE_CXX_COMPILER=clang++-14 -DVOLTWISE_FUZZ=ON -DVOLTWISE_BENCHMARKS=OFF

targets=${FUZZ_TARGETS:-$(find build-fuzz/bin -name 'fuzz_*' -printf '%f\n' | sed 's/^fuzz_//' | sort)}
dictionary() {
  case $1 in
    notices_page | forecast_page | outlook_page | text_helpers) echo fuzz/dict/html_pages.dict ;;
    *) echo "fuzz/dict/$1.dict" ;;
  esac
}

mkdir -p build-fuzz/findings build-fuzz/logs
# A smaller quarantine than ASan's 256 MB still catches a use soon after a
# free, and keeps a target of millions of runs near 300 MB instead of 1 GB.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for name in $targets; do
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  for folder in fuzz/corpus/$name fuzz/regressions/$name; do
    [ -d "$folder" ] && seeds+=("$folder")
  done
  log=build-fuzz/logs/$name.log
  # shellcheck disable=SC2086
  if build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -dict="$(dictionary "$name")" \
      -artifact_prefix="build-fuzz/findings/$name-" -print_final_stats=1 ${FUZZ_ARGS:-} \
      "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    outcome=ok
  else
    outcome=FINDING
    failed+=("$name")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  printf 'fuzz %-16s %-8s %12s runs  %s  corpus %s\n' "$name" "$outcome" "${runs:-?}" \
    "${cov:-cov: ?}" "$(find "$corpus" -type f | wc -l)"
done

if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]} (see build-fuzz/findings and build-fuzz/logs)" >&2
  exit 1
fi
