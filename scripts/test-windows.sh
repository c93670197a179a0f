#!/usr/bin/env bash
# Cross-builds the model, protocol and serial layers and their tests for 64-bit Windows with
# MinGW-w64 and runs the tests under Wine: the serial tests over Winsock TCP and over a
# pseudo-terminal that Wine sees as COM7. Installs MinGW-w64, Wine and Python when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTROVA_WINDOWS_BUILD:-$root/build-windows}

missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
command -v wine >/dev/null || missing+=(wine wine64)
command -v python3 >/dev/null || missing+=(python3)
[ -d /usr/src/googletest ] || missing+=(googletest)
command -v ninja >/dev/null || missing+=(ninja-build)
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

toolchain=$root/cmake/mingw-w64-x86_64.cmake
# GoogleTest for the target, from Debian's sources.
gtest=$build/googletest-install
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# The "windows-cross" preset of CMakePresets.json.
(cd "$root" && cmake --preset windows-cross -B "$build/kestrova" \
  -DGTest_DIR="$gtest/lib/cmake/GTest" >/dev/null)
cmake --build "$build/kestrova"

export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX=$build/wineprefix
[ -d "$WINEPREFIX/dosdevices" ] || wine wineboot -i >/dev/null 2>&1

# The pseudo-terminal side: a fresh pty as COM7 for every connection the tests make.
port_file=$build/bridge-port
rm -f "$port_file"
python3 "$root/tests/serial/pty_com_bridge.py" "$WINEPREFIX/dosdevices" com7 "$port_file" &
bridge=$!
trap 'kill "$bridge" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
export KESTROVA_TEST_COM=COM7 KESTROVA_TEST_BRIDGE=$(cat "$port_file")

ctest --test-dir "$build/kestrova" --output-on-failure
