#!/usr/bin/env bash
# Builds the Debian package build-package/voltwise_<version>_<arch>.deb in
# Release mode with Debian's hardening flags, and checks it with lintian
# (which fails the script on an error).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh packaging
dir=build-package

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
# Only what the package holds; cpack's install step then builds nothing more.
BUILD_TYPE=Release \
BUILD_TARGETS="voltwise voltwise-status voltwise-gridsim voltwise_data_files voltwise_icons
               voltwise_compressed_docs" \
  scripts/build.sh "$dir" -DCMAKE_INSTALL_PREFIX=/usr -DVOLTWISE_BENCHMARKS=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$cflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
rm -f "$dir"/voltwise_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/voltwise_*.deb)
echo "package: $deb"
lintian --info --fail-on error "$deb"
