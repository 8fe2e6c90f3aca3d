#!/usr/bin/env bash
# Builds the Debian package of both programs, build-package/frametally_<version>_<arch>.deb,
# and checks it: lintian must report no errors, and the desktop entry and the
# AppStream metainfo it installs must pass their validators. It builds in
# build-package, a Release build of its own: Debian wants tiffwalker linked
# dynamically (lintian counts a static binary as an error), which the other
# builds do not do.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-dev and file: CPack's dependency lookup (dpkg-shlibdeps).
tools/install-deps.sh dpkg-dev file lintian appstream desktop-file-utils

out=build-package
# With the hardening Debian builds its packages with.
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFRAMETALLY_BUILD_GUI=ON \
  -DFRAMETALLY_BUILD_TESTS=OFF -DFRAMETALLY_STATIC_CLI=OFF \
  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" >/dev/null
# make_sample too: the package test reads the sample it writes.
cmake --build "$out" -j "$(nproc)" --target frametally tiffwalker make_sample
rm -f "$out"/frametally_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
deb=$(ls "$out"/frametally_*.deb)

# The programs' files only; the engine's development files stay out.
if dpkg-deb -c "$deb" | grep -E ' \./usr/(include|lib)/'; then
  echo "package.sh: the package carries development files (above)" >&2
  exit 1
fi

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
