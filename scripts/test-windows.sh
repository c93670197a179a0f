#!/usr/bin/env bash
# Cross-builds the editor, kestrova-board and the tests for 64-bit Windows with MinGW-w64 and a
# static Qt (built once by scripts/build-qt-windows.sh and cached), runs the tests under Wine,
# makes the zip and the NSIS installer, and installs, starts and uninstalls the editor under
# Wine. The serial tests reach a pseudo-terminal as COM7 and Winsock TCP; the window's tests run
# on Qt's offscreen platform against the Linux simulator over TCP, the native window's on the
# real windows platform under Xvfb. Installs what is missing with apt-get.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROVA_WINDOWS_BUILD:-$root/build-windows}
seconds() { date +%s; }
started=$(seconds)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
command -v wine >/dev/null || missing+=(wine wine64)
command -v python3 >/dev/null || missing+=(python3)
[ -d /usr/src/googletest ] || missing+=(googletest)
command -v ninja >/dev/null || missing+=(ninja-build)
command -v makensis >/dev/null || missing+=(nsis)
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v dpkg-source >/dev/null || missing+=(dpkg-dev)
[ -d /usr/share/fonts/truetype/dejavu ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

echo "-- Qt for Windows (static, cached)"
qt_started=$(seconds)
qt=$("$root/scripts/build-qt-windows.sh")
echo "-- Qt ready in $(($(seconds) - qt_started)) s: $qt"

toolchain=$root/cmake/mingw-w64-x86_64.cmake
# GoogleTest for the target, from Debian's sources.
gtest=$build/googletest-install
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest" -j2 >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# The Linux simulator that the window's tests talk to.
cmake -S "$root" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTROVA_BUILD_UI=OFF -DKESTROVA_BUILD_TESTS=OFF -DKESTROVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build/host" -j2 --target kestrova-sim

# The "windows-cross" preset of CMakePresets.json.
(cd "$root" && cmake --preset windows-cross -B "$build/kestrova" -DCMAKE_PREFIX_PATH="$qt" \
  -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null)
cmake --build "$build/kestrova" -j2

helpers=()
trap 'kill "${helpers[@]}" 2>/dev/null || true' EXIT
# Waits for a helper's first words in a file.
await() { for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done; cat "$1"; }
# Wine's window driver wants a display, also for Qt's offscreen platform: one for the whole run.
rm -f "$build/xvfb-display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$build/xvfb-display" &
helpers+=($!)
export DISPLAY=:$(await "$build/xvfb-display")
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX=$build/wineprefix
# No Linux desktop entries for what the installer puts in the Start menu (and nothing that
# waits for them).
export WINEDLLOVERRIDES=winemenubuilder.exe=d
# A new prefix is made under the display and finished before any test runs: a windowed test
# that races Wine's first set-up of the display never gets its window shown.
if [ ! -d "$WINEPREFIX/dosdevices" ]; then
  wine wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# One Wine server for the whole run: one that ends between two test programs can drop the
# next program's connection as it starts ("wine client error ... Connection reset by peer").
wineserver -p >"$build/wineserver.log" 2>&1  # it lists its objects there on a hang-up
# Set only now that WINEPREFIX names the test prefix: an early failure never stops the server
# of a prefix of the user's own.
trap 'kill "${helpers[@]}" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
# Starts a helper that writes the port it listens on to a file (its last argument).
start_helper() {
  rm -f "${@: -1}"
  python3 "$@" >/dev/null &
  helpers+=($!)
}
# The pseudo-terminal side: a fresh pty as COM7 for every connection the tests make.
start_helper "$root/tests/serial/pty_com_bridge.py" "$WINEPREFIX/dosdevices" com7 "$build/bridge-port"
# The Linux simulator for the window's tests.
start_helper "$root/tests/support/sim_launcher.py" "$build/host/tools/sim/kestrova-sim" \
  "$build/launcher-port"
export KESTROVA_TEST_COM=COM7 KESTROVA_TEST_BRIDGE=$(await "$build/bridge-port")
export KESTROVA_SIM_LAUNCHER=$(await "$build/launcher-port")

# Wine keeps the Linux side's QT_* variables from Windows programs; its registry passes them.
wine_env() { wine reg add 'HKCU\Environment' /v "$1" /d "$2" /f >/dev/null 2>&1; }
# Qt's offscreen platform on Windows reads its fonts from a folder, not from the system: the
# DejaVu faces that the window uses on Linux (Wine's Z: drive is the Linux root).
wine_env QT_QPA_FONTDIR 'Z:\usr\share\fonts\truetype\dejavu'
wine_env QT_QPA_PLATFORM offscreen
ctest --test-dir "$build/kestrova" --output-on-failure
echo "-- The native window on Qt's windows platform"
wine_env QT_QPA_PLATFORM windows
ctest --test-dir "$build/kestrova" --output-on-failure -L e2e
wine_env QT_QPA_PLATFORM offscreen

echo "-- Packages"
(cd "$build/kestrova" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/kestrova/CMakeCache.txt")
zip=$build/kestrova/kestrova-editor-$version-win64.zip
installer=$build/kestrova/kestrova-editor-$version-win64.exe
listing=$(cmake -E tar tf "$zip")
for file in kestrova-editor.exe kestrova-board.exe README.md LICENSE template.kprofile.json; do
  grep -q "/$file\$" <<<"$listing" || { echo "$zip lacks $file" >&2; exit 1; }
done

echo "-- Silent install, start, uninstall under Wine"
# The waits below need a server that ends once its programs have.
wineserver -k && wineserver -w
folder=$WINEPREFIX/drive_c/Program\ Files/Kestrova\ Editor
wine "$installer" /S
wineserver -w
test "$(wine "$folder/kestrova-editor.exe" --version | tr -d '\r')" = "kestrova-editor $version"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Kestrova motion editor.lnk' | grep -q .
wine "$folder/Uninstall.exe" /S
wineserver -w
for _ in $(seq 50); do [ -e "$folder/kestrova-editor.exe" ] || break; sleep 0.2; done
test ! -e "$folder/kestrova-editor.exe"
echo "-- Windows part done in $(($(seconds) - started)) s: $zip, $installer"
