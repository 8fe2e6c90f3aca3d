#!/usr/bin/env bash
# Builds everything and runs every test twice: in a plain build, and in a build
# with AddressSanitizer (leak detection included) and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRAMETALLY_BUILD_GUI=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFRAMETALLY_SANITIZE=ON -DFRAMETALLY_BUILD_GUI=ON
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# The browser page: one WebAssembly build and one headless Chromium session,
# checked against the tiffwalker just built.
tools/install-deps.sh emscripten chromium chromium-driver python3-selenium
tools/web.sh --build-only
rm -rf build/web-test-files
build/tools/make_web_test_files build/web-test-files
/usr/bin/python3 web/test/browser_test.py build-web/site build/cli/tiffwalker build/web-test-files ../shared/corpus

echo "All tests passed, plain and under the sanitizers."
