#!/usr/bin/env bash
# Configures and builds Voltwise into build/ (or the folder given as $1).
# Extra arguments go to CMake's configure step; BUILD_TARGETS limits what
# is built (everything by default).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
launcher=()
# Worktrees and rebuilds share compiled objects when ccache is there.
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
targets=()
for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$dir" "${targets[@]}"
