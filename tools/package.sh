#!/usr/bin/env bash
# Builds the Debian package of both programs, build-package/frametally_<version>_<arch>.deb,
# and checks it: lintian must report no errors, and the desktop entry and the
# AppStream metainfo it installs must pass their validators.
#
#   tools/package.sh              a Release build of its own in build-package
#   tools/package.sh BUILD_DIR    packages that configured build instead (the
#                                 package still goes to build-package/)
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-dev and file: CPack's dependency lookup (dpkg-shlibdeps).
tools/install-deps.sh dpkg-dev file lintian appstream desktop-file-utils

out=build-package
build=${1:-$out}
if [ "$build" = "$out" ]; then
  # tiffwalker linked dynamically, as Debian packages are, and the hardening
  # Debian builds its packages with.
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFRAMETALLY_BUILD_GUI=ON \
    -DFRAMETALLY_BUILD_TESTS=OFF -DFRAMETALLY_STATIC_CLI=OFF \
    -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
    -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" >/dev/null
elif [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "package.sh: $build is not a configured build with the desktop application" >&2
  exit 2
fi
cmake --build "$build" -j "$(nproc)" --target frametally tiffwalker make_sample
mkdir -p "$out"
rm -f "$out"/frametally_*.deb
(cd "$build" && cpack -G DEB -B "$(cd "$OLDPWD/$out" && pwd)" >/dev/null)
deb=$(ls "$out"/frametally_*.deb)

echo "== lintian $deb"
lintian --fail-on error --tag-display-limit 0 "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
echo "== desktop-file-validate"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
echo "Built $deb"
