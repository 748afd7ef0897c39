#!/usr/bin/env bash
# Builds the Debian package of the game, as Debian builds its own (optimised, with the
# distribution's hardening flags), and checks it with lintian when lintian is installed.
#   scripts/package.sh [BUILD_DIR]   (default build-package/; the .deb is written there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
scripts/install-deps.sh --package

# dpkg-buildflags gives the distribution's flags; all of its hardening: fortified sources,
# stack protector, read-only relocations, immediate binding.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DSKARVOLD_TESTS=OFF -DSKARVOLD_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack)
package=$(ls "$build"/skarvold_*.deb)
echo "Package: $package"
if command -v lintian > /dev/null; then
  lintian --info --display-info "$package"
fi
