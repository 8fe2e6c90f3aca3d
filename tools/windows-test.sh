#!/usr/bin/env bash
# The Windows stage of the test command: the programs cross-built with
# MinGW-w64 (tools/windows.sh) and tested under Wine, headless under Xvfb:
# the engine and command-line test programs, the shared corpus against the
# Linux tiffwalker, the dialog driven through its controls, the installer,
# the programs run from a folder holding nothing else and a program linked to
# the engine's DLL. Each step's time is
# printed. Expects the Linux build in build/ (tools/test.sh makes it first).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis xvfb zip python3 fonts-wine
# The whole stage on one virtual display: Wine's services keep the display
# they were started with.
if [ -z "${FRAMETALLY_WINDOWS_TEST_DISPLAY:-}" ]; then
  FRAMETALLY_WINDOWS_TEST_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

started=$(date +%s)
step_started=$started
step() {
  local now
  now=$(date +%s)
  echo "windows-test: $1 took $((now - step_started)) s"
  step_started=$now
}

# One Wine prefix for the whole run, made afresh; one wineserver kept running
# (-p) for all of it, and wineboot run before the tests, so that no test
# starts Wine's services itself (CTest can hang on a pipe they inherit). No
# Mono or Gecko: a fresh prefix would otherwise offer to download them.
mkdir -p build-windows
export WINEPREFIX="$PWD/build-windows/wine-prefix"
export WINEDEBUG=-all
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wineboot >/dev/null 2>&1
step "making the Wine prefix"

tools/windows.sh
step "the cross build, installer and zip"

ctest --test-dir build-windows --output-on-failure -j "$(nproc)"
step "the test programs and the dialog test under Wine"

[ -x build/cli/tiffwalker ] || cmake --build build --target tiffwalker
tests/windows/same_tsv_test.sh build/cli/tiffwalker build-windows/cli/tiffwalker.exe ../shared/corpus
step "the shared corpus against the Linux build"

scratch=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
wine build-windows/tools/make_sample.exe "Z:${scratch//\//\\}\\DSC_0001.NEF"
tests/windows/standalone_test.sh build-windows/cli/tiffwalker.exe build-windows/winapp/Frametally.exe \
  build-windows/winapp/dialog_gui_test.exe "$scratch/DSC_0001.NEF"
step "the programs alone in a folder"

tests/windows/dll_consumer_test.sh build-windows/engine-dll/prefix build-windows/engine-dll/consumer/consumer.exe \
  "$scratch/DSC_0001.NEF"
step "a program linked to the engine's DLL"

version=$(sed -n 's/^project(Frametally VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# A prefix of its own, made fresh: the installer must not find the build's.
(unset WINEPREFIX; tests/windows/installer_test.sh "dist/Frametally-$version-setup.exe" \
  build-windows/winapp/dialog_gui_test.exe "$scratch/DSC_0001.NEF")
step "the installer, installed and uninstalled both ways"

echo "windows-test: all passed in $(($(date +%s) - started)) s"
