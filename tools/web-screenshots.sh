#!/usr/bin/env bash
# Screenshots of the browser page for the README (docs/screenshots/web-*.png),
# taken of the real page in headless Chromium at a desktop and a phone width.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh emscripten chromium chromium-driver python3-selenium
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target make_web_test_files
tools/web.sh --build-only
rm -rf build/web-test-files
build/tools/make_web_test_files build/web-test-files
/usr/bin/python3 web/test/screenshots.py build-web/site build/web-test-files docs/screenshots
cmake --build build -j "$(nproc)" --target make_history_library
rm -rf build/history-library
build/tools/make_history_library build/history-library
/usr/bin/python3 web/test/history_screenshots.py build-web/site build/history-library docs/screenshots
