#!/usr/bin/env bash
# Builds the browser page (the engine compiled to WebAssembly with Debian's
# Emscripten, and the page's own files) into build-web/site, then serves it at
# http://127.0.0.1:8080 until Ctrl-C.
#
#   tools/web.sh                # build and serve
#   tools/web.sh --build-only   # build only
#   PORT=9000 tools/web.sh      # serve on another port
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=false
case "${1:-}" in
  --build-only) build_only=true ;;
  "") ;;
  *) echo "usage: tools/web.sh [--build-only]" >&2; exit 2 ;;
esac

# Only the web build needs Emscripten; the desktop build does not wait for it.
tools/install-deps.sh emscripten python3

# Debian's Emscripten finds its Node.js modules (acorn and the like) there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [ ! -f build-web/build.ninja ]; then
  emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build-web -j "$(nproc)"
echo "Site built in build-web/site ($(du -sk build-web/site | cut -f1) KiB)."

$build_only && exit 0
exec /usr/bin/python3 web/serve.py build-web/site --port "${PORT:-8080}"
