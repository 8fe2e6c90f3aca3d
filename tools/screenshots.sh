#!/usr/bin/env bash
# Makes the README's screenshots from the real desktop program: the main
# dialog showing the count of the bundled sample, the About box, and the main
# dialog showing a file without a count (an edited JPEG) with its reason. The
# program runs on a virtual X display (Xvfb), under Openbox for the title
# bars when it is installed.
#
#   tools/screenshots.sh [BUILD_DIR]      (default: build)
#
# Needs Xvfb, xdotool and ImageMagick's import:
#   apt-get install xvfb xdotool imagemagick openbox
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/screenshots

for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshots.sh: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2
    exit 1
  fi
done

if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  cmake -S . -B "$build" -G Ninja >/dev/null
else
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target frametally make_sample >/dev/null
sample=$build/sample/DSC_0001.NEF
edited=$build/sample/DSC_0002.JPG
twoCounts=$build/sample/DSC_0003.NEF
mkdir -p "$(dirname "$sample")" "$out"
"$build/tools/make_sample" "$sample"
"$build/tools/make_sample" --no-count "$edited"
"$build/tools/make_sample" --two-counts "$twoCounts"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and tells us its number.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '\n' <"$work/display")"
unset WAYLAND_DISPLAY

if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
fi

# The look of a plain desktop: Qt's own style and the first sans-serif font.
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= QT_STYLE_OVERRIDE=Fusion QT_SCALE_FACTOR=1
# The program started on a file, its window in front; then ended with File >
# Exit.
start() {
  "$build/app/frametally" "$1" >/dev/null 2>&1 &
  app=$!
  pids+=("$app")
  main=$(xdotool search --sync --onlyvisible --name '^Imagewright - Frametally$' | head -n 1)
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
  sleep 1
}
quit() {
  xdotool key ctrl+q
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
}

start "$sample"
import -window "$main" -frame -strip "$out/main-dialog.png"

# Help > About Frametally, from the keyboard.
xdotool key --clearmodifiers alt+h
sleep 0.3
xdotool key a
about=$(xdotool search --sync --onlyvisible --name '^About Frametally$' | head -n 1)
sleep 1
import -window "$about" -frame -strip "$out/about-box.png"

# Close the About box, then end the program.
xdotool key Escape
sleep 0.3
quit

# One file, shown alone and captured: the edited JPEG (No Count, and why),
# and a body that records its mechanical releases beside every release, with
# its rated life.
shoot() {
  start "$1"
  import -window "$main" -frame -strip "$out/$2"
  quit
}
shoot "$edited" main-dialog-no-count.png
shoot "$twoCounts" main-dialog-two-counts.png
echo "Wrote $out/main-dialog.png, $out/about-box.png, $out/main-dialog-no-count.png and $out/main-dialog-two-counts.png"
