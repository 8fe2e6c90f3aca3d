#!/usr/bin/env bash
# Installs the Debian package as a user would (apt-get install ./frametally_....deb),
# runs both programs from /usr/bin on the bundled sample, and removes the
# package again, checking that nothing of it stays behind.
#
#   tests/package/install_test.sh DEB SAMPLE
#
# It needs root, and skips, saying so, without it. It also skips on a machine
# where Frametally is installed already, which it would otherwise replace and
# then remove.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 DEB SAMPLE" >&2; exit 2; }
deb=$(realpath "$1")
sample=$(realpath "$2")
expected_count=4242  # what make_sample writes

skip() { echo "package install test SKIPPED: $*"; exit 0; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if dpkg-query -W -f='${Status}' frametally 2>/dev/null | grep -q 'ok installed'; then
  skip "the frametally package is installed on this machine"
fi
for program in /usr/bin/frametally /usr/bin/tiffwalker; do
  [ ! -e "$program" ] || skip "$program exists and would be overwritten"
done

fail() { echo "package install test FAILED: $*" >&2; exit 1; }
apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -y -qq "$@" >/dev/null; }
remove() { apt purge frametally || true; }
trap remove EXIT

# apt-get takes a local package only as a path with a slash in it.
(cd "$(dirname "$deb")" && apt install --no-install-recommends "./$(basename "$deb")")

count=$(/usr/bin/tiffwalker "$sample") || fail "tiffwalker ended with status $?"
[ "$count" = "$expected_count" ] || fail "tiffwalker printed '$count', not $expected_count"
/usr/bin/tiffwalker --format json "$sample" | grep -q '"status":"count"' || fail "tiffwalker --format json"

version=$(QT_QPA_PLATFORM=offscreen /usr/bin/frametally --version) || fail "frametally --version"
[[ "$version" == Frametally\ * ]] || fail "frametally --version printed '$version'"
# The dialog on the sample, without a display: it must start, load Qt's
# platform plugin and read the file, and still be running after a moment.
log=$(mktemp)
QT_QPA_PLATFORM=offscreen /usr/bin/frametally "$sample" >"$log" 2>&1 &
dialog=$!
sleep 2
if ! kill -0 "$dialog" 2>/dev/null; then
  wait "$dialog" || true
  fail "frametally ended early: $(cat "$log")"
fi
kill "$dialog"
wait "$dialog" 2>/dev/null || true
rm -f "$log"

for file in /usr/share/man/man1/frametally.1.gz /usr/share/man/man1/tiffwalker.1.gz \
            /usr/share/bash-completion/completions/tiffwalker \
            /usr/share/applications/org.imagewright.frametally.desktop \
            /usr/share/metainfo/org.imagewright.frametally.metainfo.xml \
            /usr/share/icons/hicolor/scalable/apps/org.imagewright.frametally.svg; do
  [ -f "$file" ] || fail "$file not installed"
done

trap - EXIT
apt purge frametally
for program in /usr/bin/frametally /usr/bin/tiffwalker; do
  [ ! -e "$program" ] || fail "$program is still there after removal"
done
echo "package install test passed: installed, both programs ran from /usr/bin, removed"
