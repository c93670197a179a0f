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
# View > Curves, clicked as a user does (without a window manager no window has the focus).
xdotool mousemove --window "$window" 100 10 click 1
sleep 1
xdotool mousemove --window "$window" 125 35 click 1
sleep 2
curves=$(xdotool search --name '^Curves' | head -1)
import -window "$curves" "$out"
