#!/usr/bin/env bash
# Runs dialog_gui_test.exe under Wine with a stand-in browser: Wine hands web
# addresses to the host's xdg-open, so one on PATH records the address it is
# given instead of starting a browser. Without a display, under xvfb-run.
#   dialog_gui_test.sh DIALOG_GUI_TEST_EXE
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$@"
fi
exe=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
cat >"$scratch/bin/xdg-open" <<STANDIN
#!/bin/sh
printf '%s\n' "\$*" >"$scratch/browser.log"
STANDIN
chmod +x "$scratch/bin/xdg-open"
PATH="$scratch/bin:$PATH" wine "$exe" "Z:${scratch//\//\\}\\browser.log"
