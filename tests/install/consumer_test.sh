#!/usr/bin/env bash
# Installs the engine as another program would find it and builds a small
# program against it, through find_package and through pkg-config, with the
# static library of this build and with a shared one, and runs each on the
# sample. Usage: consumer_test.sh SOURCE_DIR BUILD_DIR MAKE_SAMPLE
set -euo pipefail
source_dir=$1 build_dir=$2 make_sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_sample" "$work/DSC_0001.NEF"

check() {  # PROGRAM LABEL
  local got
  got=$(LD_LIBRARY_PATH="$prefix/lib" "$1" "$work/DSC_0001.NEF")
  if [ "$got" != 4242 ]; then
    echo "FAIL: $2 printed '$got', not 4242" >&2
    exit 1
  fi
  echo "ok: $2"
}

for kind in static shared; do
  prefix=$work/$kind
  if [ "$kind" = static ]; then
    cmake --install "$build_dir" --prefix "$prefix" --component engine >/dev/null
  else
    cmake -S "$source_dir" -B "$work/shared-build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
      -DCMAKE_INSTALL_LIBDIR=lib -DFRAMETALLY_BUILD_GUI=OFF -DFRAMETALLY_BUILD_TESTS=OFF >/dev/null
    cmake --build "$work/shared-build" --target tiffwalker_engine >/dev/null
    cmake --install "$work/shared-build" --prefix "$prefix" --component engine >/dev/null
    [ -e "$prefix/lib/libtiffwalker.so" ] || { echo "FAIL: no shared library installed" >&2; exit 1; }
    # The shared library exports its public API only: none of the reader's
    # steps, states, streams, tables or maker-note readers.
    leaked=$(nm -DC --defined-only "$prefix/lib/libtiffwalker.so" |
      grep -E 'makernote::|FileStream|ReadingState|ReadingBudget|dumpImageFileDirectory|setData|findFirstIFD|readImage\(|lensDescription|engineState' || true)
    [ -z "$leaked" ] || { echo "FAIL: the shared library exports internals:" >&2; echo "$leaked" >&2; exit 1; }
  fi
  [ ! -e "$prefix/include/tiffwalker/reading_state.h" ] || { echo "FAIL: internal header installed" >&2; exit 1; }
  # Nothing internal is declared where an installed program can see it.
  if c++ -std=c++20 -fsyntax-only -I"$prefix/include" -x c++ - <<<'#include <tiffwalker/tiffwalker.h>
tiffwalker::ReadingState* s = &tiffwalker::engineState();' 2>/dev/null; then
    echo "FAIL: the installed headers declare the engine-wide state" >&2; exit 1
  fi

  cmake -S "$source_dir/tests/install/consumer" -B "$work/$kind-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$work/$kind-cmake" >/dev/null
  check "$work/$kind-cmake/consumer" "$kind library through find_package"

  pc_dir=$(dirname "$(find "$prefix" -name tiffwalker.pc | head -1)")
  # shellcheck disable=SC2046
  c++ -std=c++20 "$source_dir/tests/install/consumer/main.cpp" -o "$work/$kind-pkgconfig" \
    $(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs tiffwalker)
  check "$work/$kind-pkgconfig" "$kind library through pkg-config"
done
