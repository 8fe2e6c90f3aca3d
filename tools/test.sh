#!/usr/bin/env bash
# Builds everything and runs every test twice: in a plain build, and in a build
# with AddressSanitizer (leak detection included) and UndefinedBehaviorSanitizer;
# then the readings on several threads once more under ThreadSanitizer.
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

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRAMETALLY_SANITIZE_THREAD=ON \
  -DFRAMETALLY_BUILD_GUI=OFF
cmake --build build-tsan -j "$jobs" --target reading_context_tests parallel_batch_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/tests/reading_context_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/tests/parallel_batch_tests

# The Debian package: built once and checked (lintian, desktop entry and
# AppStream validators), then installed, run from /usr/bin and removed again
# (that needs root, and skips, saying so, without).
tools/package.sh
mkdir -p build-package/sample
build-package/tools/make_sample build-package/sample/DSC_0001.NEF
tests/package/install_test.sh build-package/frametally_*.deb build-package/sample/DSC_0001.NEF

# The browser page: its scripts' own tests in node's test runner, then one
# WebAssembly build and one headless Chromium session, checked against the
# tiffwalker just built.
tools/install-deps.sh emscripten chromium chromium-driver python3-selenium nodejs
node --test web/test/
tools/web.sh --build-only
rm -rf build/web-test-files
build/tools/make_web_test_files build/web-test-files
/usr/bin/python3 web/test/browser_test.py build-web/site build/cli/tiffwalker build/web-test-files ../shared/corpus
/usr/bin/python3 web/test/page_test.py build-web/site build/cli/tiffwalker build/web-test-files

# The Windows programs: cross-built with MinGW-w64, tested under Wine and
# Xvfb (tools/windows-test.sh prints the time of each of its steps).
tools/windows-test.sh

echo "All tests passed: plain, under the sanitizers, of the package, in the browser and on Windows (Wine)."
