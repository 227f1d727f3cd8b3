#!/usr/bin/env bash
# Installs what is missing, builds and starts Voltwise.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TARGETS="voltwise voltwise-status voltwise-gridsim" scripts/build.sh build
exec build/bin/voltwise "$@"
