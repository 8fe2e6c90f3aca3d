#!/usr/bin/env bash
# Builds the program, makes the bundled sample (a synthetic NEF of our own) and
# shows its shutter count: in the desktop dialog when there is a display,
# otherwise with the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRAMETALLY_BUILD_GUI=ON >/dev/null
cmake --build build -j "$(nproc)" --target tiffwalker make_sample $( [ -d app ] && echo frametally )

sample=build/sample/DSC_0001.NEF
mkdir -p "$(dirname "$sample")"
build/tools/make_sample "$sample"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/app/frametally ]; then
  echo "Starting the Frametally dialog with $sample"
  exec build/app/frametally "$sample"
fi

echo "Shutter count of the bundled sample ($sample):"
build/cli/tiffwalker "$sample"
echo
echo "No display here, so the dialog was not started. On a desktop, start it with:"
echo "  build/app/frametally [FILE]"
