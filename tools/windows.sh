#!/usr/bin/env bash
# Cross-builds the Windows programs with Debian's MinGW-w64 into build-windows
# (tiffwalker.exe, Frametally.exe and the test programs; in
# build-windows/engine-dll the engine as a DLL and a program linked against
# it), then packs dist/Frametally-<version>-setup.exe (NSIS) and the portable
# dist/Frametally-<version>-win64.zip.
#
#   tools/windows.sh                # build, installer and zip
#   tools/windows.sh --build-only   # the programs and test programs only
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=false
case "${1:-}" in
  --build-only) build_only=true ;;
  "") ;;
  *) echo "usage: tools/windows.sh [--build-only]" >&2; exit 2 ;;
esac

tools/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 nsis zip python3

out=build-windows
# Wine runs the Windows programs here; CTest's emulator and the tests below
# use the same prefix, made once.
export WINEPREFIX="${WINEPREFIX:-$PWD/$out/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$out/build.ninja" ]; then
  cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DFRAMETALLY_BUILD_GUI=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$out" -j "$(nproc)"

# The engine as a DLL as well, in a build of its own (the programs link the
# static library), installed where another program finds it, and the small
# program of tests/install/consumer built against the installed files alone
# (tests/windows/dll_consumer_test.sh runs it).
dll=$out/engine-dll
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
if [ ! -f "$dll/build.ninja" ]; then
  cmake -S . -B "$dll" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=ON -DFRAMETALLY_BUILD_GUI=OFF -DFRAMETALLY_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$dll" -j "$(nproc)" --target tiffwalker_engine
rm -rf "$dll/prefix"
cmake --install "$dll" --prefix "$dll/prefix" --component engine >/dev/null
# Found through the package file's own place: the toolchain looks for
# packages in MinGW's tree only.
if [ ! -f "$dll/consumer/build.ninja" ]; then
  cmake -S tests/install/consumer -B "$dll/consumer" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DTiffwalker_DIR="$PWD/$dll/prefix/lib/cmake/Tiffwalker" >/dev/null
fi
cmake --build "$dll/consumer"
$build_only && exit 0

# The programs, stripped, with a short read-me: the installer's and the zip's
# contents.
version=$(sed -n 's/^project(Frametally VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$out/packaging/windows/stage
x86_64-w64-mingw32-strip -o "$stage/Frametally.exe" "$out/winapp/Frametally.exe"
x86_64-w64-mingw32-strip -o "$stage/tiffwalker.exe" "$out/cli/tiffwalker.exe"
mkdir -p dist
rm -f "dist/Frametally-$version-setup.exe" "dist/Frametally-$version-win64.zip"
makensis -V2 "$out/packaging/windows/frametally.nsi"
portable=$out/packaging/windows/Frametally-$version-win64
rm -rf "$portable"
mkdir -p "$portable"
cp "$stage/Frametally.exe" "$stage/tiffwalker.exe" "$stage/README.txt" "$portable/"
(cd "$(dirname "$portable")" && zip -q -r -X "$OLDPWD/dist/Frametally-$version-win64.zip" "$(basename "$portable")")
ls -l "dist/Frametally-$version-setup.exe" "dist/Frametally-$version-win64.zip"
