#!/usr/bin/env bash
# Makes the README's Windows screenshots from the real dialog under Wine on a
# virtual X display: docs/screenshots/windows-main-dialog.png (a synthetic
# NIKON D850: both counts and the rated life) and windows-about-box.png. Wine
# draws the title bars itself (no window manager needed). Builds build-windows first (tools/windows.sh).
#
#   tools/windows-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh xvfb python3 fonts-wine
# Every Wine program of the run on one virtual display: Wine's services,
# started by the first of them, keep the display they were started with.
if [ -z "${FRAMETALLY_SCREENSHOT_DISPLAY:-}" ]; then
  tools/windows.sh --build-only
  FRAMETALLY_SCREENSHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

out=docs/screenshots
mkdir -p "$out"
export WINEPREFIX="${WINEPREFIX:-$PWD/build-windows/wine-prefix}"
export WINEDEBUG=-all
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
[ -f "$WINEPREFIX/system.reg" ] || WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
# The title bar's buttons are drawn with Marlett, which Debian's Wine does
# not find in fonts-wine by itself.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
# Without a window manager, windows that Wine leaves to it have no frame.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

winpath() { echo "Z:${1//\//\\}"; }
wine build-windows/tools/make_sample.exe --two-counts "$(winpath "$scratch/DSC_0001.NEF")"
shoot() {
  wine build-windows/winapp/dialog_gui_test.exe --screenshot "$1" "$(winpath "$scratch/$1.bmp")" "${@:2}"
}
shoot main "$(winpath "$scratch/DSC_0001.NEF")"
shoot about
python3 tools/bmp_to_png.py "$scratch/main.bmp" "$out/windows-main-dialog.png"
python3 tools/bmp_to_png.py "$scratch/about.bmp" "$out/windows-about-box.png"
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
wineserver -w
echo "Made $out/windows-main-dialog.png and $out/windows-about-box.png"
