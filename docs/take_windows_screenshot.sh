#!/bin/sh
# Takes docs/editor-windows.png: kestrova-editor.exe under Wine, in a Wine desktop (which draws
# the window's frame and caption as Windows does) on Xvfb. Needs wine, xvfb and imagemagick.
#   xvfb-run -a -s "-screen 0 1280x1024x24" docs/take_windows_screenshot.sh \
#     build-windows/kestrova/src/ui/kestrova-editor.exe
set -eu
exe=${1:-build-windows/kestrova/src/ui/kestrova-editor.exe}
out=$(dirname "$0")/editor-windows.png
export WINEDEBUG=-all WINEPREFIX="${WINEPREFIX:-$PWD/build-windows/wineprefix}"
wine explorer /desktop=kestrova,1200x1000 "$exe" &
trap 'wineserver -k' EXIT
sleep "${KESTROVA_SHOT_WAIT:-10}"
import -window root "$out"
# The screen, then the Wine desktop around the window.
mogrify -trim +repage "$out"
mogrify -trim +repage "$out"
