#!/bin/sh
# Takes docs/curves.png: the Curves window over a page loaded with Ctrl+O. Needs xvfb,
# imagemagick and xdotool.
#   xvfb-run -a -s "-screen 0 1920x1080x24" docs/take_curves_screenshot.sh \
#     build/src/ui/kestrova-editor PAGE.kpf
set -eu
editor=${1:-build/src/ui/kestrova-editor}
page=$(realpath "$2")
out=$(dirname "$0")/curves.png
"$editor" &
pid=$!
trap 'kill $pid' EXIT
sleep 3
window=$(xdotool search --name '^Kestrova$' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --window "$window" ctrl+o
sleep 1
xdotool type --delay 20 "$page"
xdotool key Return
sleep 1
xdotool key --window "$window" ctrl+shift+g
sleep 2
curves=$(xdotool search --name '^Curves' | head -1)
import -window "$curves" "$out"
