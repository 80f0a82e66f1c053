#!/usr/bin/env bash
# Builds the Debian package from the install rules (Release, stripped, its
# library dependencies computed by dpkg-shlibdeps) and checks it with lintian:
#
#   ./build-deb.sh      -> build-deb/package/stryde_<version>_<arch>.deb
#
# Install it with: sudo apt install ./build-deb/package/stryde_*.deb
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
stryde_install_deps
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRYDE_BUILD_BENCH=OFF >/dev/null
# Only what the package holds: the install rules do not build anything themselves.
cmake --build build-deb -j "$(nproc)" --target stryde stryde-cli stryde_install_files
rm -f build-deb/package/stryde_*.deb
(cd build-deb && cpack -G DEB)
deb=$(ls build-deb/package/stryde_*.deb)
echo "lintian $deb:"
lintian --fail-on error "$deb"
echo "Package: $deb"
