#!/bin/sh
# Takes docs/editor-window.png: the editor under Xvfb with its File menu open, so that the
# Korean About item shows. Needs xvfb, imagemagick, xdotool and fonts-noto-cjk.
#   xvfb-run -a -s "-screen 0 1100x1000x24" docs/take_screenshot.sh build/src/ui/kestrova-editor
set -eu
editor=${1:-build/src/ui/kestrova-editor}
out=$(dirname "$0")/editor-window.png
"$editor" &
pid=$!
trap 'kill $pid' EXIT
sleep 3
window=$(xdotool search --name '^Kestrova$' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+f
sleep 1
import -window root "$out"
mogrify -trim +repage "$out"
