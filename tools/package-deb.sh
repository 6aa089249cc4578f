#!/usr/bin/env bash
# Builds the Debian package of the game: installs what is missing (Debian's packaging tools
# among it), builds quark in build-deb/ with Debian's hardening flags, the program in
# /usr/games as Debian has games, makes build-deb/qUaRk_<version>_<architecture>.deb with cpack
# and checks it with lintian. The maintainer named in the package is DEBFULLNAME <DEBEMAIL>, as
# for Debian's own tools; set both before building a package for others.
# Install it with: sudo apt-get install ./build-deb/qUaRk_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh dpkg-dev fakeroot lintian
if [ -z "${DEBEMAIL:-}" ]; then
  echo "Note: DEBEMAIL is not set; the package names $(id -un)@$(hostname -f) as its maintainer."
fi
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DQUARK_TESTS=OFF -DQUARK_TOOLS=OFF \
  -DCMAKE_INSTALL_BINDIR=games \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@"
cmake --build build-deb -j"$(nproc)" --target quark
rm -f build-deb/qUaRk_*.deb
(cd build-deb && cpack -G DEB)
deb=$(ls build-deb/qUaRk_*.deb)
# Errors make this script fail (the package is there all the same); warnings are shown.
lintian --info "$deb"
echo "$deb"
