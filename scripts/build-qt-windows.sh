#!/usr/bin/env bash
# Builds static Qt 6 (Core, Gui, Widgets, Test, the Windows platform plugin and styles) for
# 64-bit Windows with MinGW-w64, from Debian's own qt6-base source, the same version as the host's
# Qt tools that the cross-build runs. The result is cached outside the checkout and reused once
# complete. Prints its prefix (for CMAKE_PREFIX_PATH) on standard output, the progress on
# standard error.
#   KESTROVA_QT_WINDOWS  where the kit goes (default: the user's cache folder)
#   KESTROVA_QT_JOBS     parallel compile jobs (default 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/kestrova
prefix=${KESTROVA_QT_WINDOWS:-$cache/qt-6.4.2-mingw-w64-static}
jobs=${KESTROVA_QT_JOBS:-2}
work=$prefix.work
stamp=$prefix/kestrova-complete

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# The host's Qt tools (moc, rcc, uic) run in the cross-build, so the source must be their version.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
case $version in
  6.4.2+*) ;;
  *) echo "build-qt-windows: needs Debian's qt6-base-dev 6.4.2 (found '${version:-none}')" >&2; exit 1 ;;
esac

# What the editor uses and nothing more; a change here rebuilds the cache.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_network=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_opengl=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  # Debian's source leaves out the tablet header the Windows plugin would include.
  -DFEATURE_tabletevent=OFF
  # With OpenGL off, 6.4.2's Windows plugin does not compile unless this is off too.
  -DFEATURE_dynamicgl=OFF
)
want="qt6-base $version mingw-w64-posix ${options[*]}"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  echo "$prefix"
  exit 0
fi

missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
command -v x86_64-w64-mingw32-windres >/dev/null || missing+=(binutils-mingw-w64-x86-64)
command -v dpkg-source >/dev/null || missing+=(dpkg-dev)
command -v ninja >/dev/null || missing+=(ninja-build)
command -v cmake >/dev/null || missing+=(cmake)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get update -qq >&2
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
fi

mkdir -p "$work"
exec 9>"$work/lock"
flock 9 # one build at a time; a second caller waits and then finds the cache complete
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  echo "$prefix"
  exit 0
fi

# A private apt configuration with only a deb-src entry: the machine's own sources, lists and
# caches stay as they are, and no root is needed.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $codename main" \
  >"$apt_dir/sources.list"
apt_private=(
  -o Dir::Etc::SourceList="$apt_dir/sources.list"
  -o Dir::Etc::SourceParts="$apt_dir/parts"
  -o Dir::State::Lists="$apt_dir/lists"
  -o Dir::Cache="$apt_dir/cache"
  -o Dir::State::status=/var/lib/dpkg/status
  -o APT::Sandbox::User="$(id -un)"
  -o Debug::NoLocking=1
)
src=$work/source
if [ ! -f "$src/.kestrova-unpacked" ]; then
  rm -rf "$src"
  mkdir -p "$src"
  apt-get "${apt_private[@]}" update -qq >&2
  (cd "$src" && apt-get "${apt_private[@]}" source -qq "qt6-base=$version" >&2)
  touch "$src/.kestrova-unpacked"
fi
tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

rm -rf "$prefix"
# An interrupted build resumes in the same build folder.
cmake -S "$tree" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log"
echo "build-qt-windows: building Qt $version for MinGW-w64 with $jobs jobs" >&2
nice -n 10 cmake --build "$work/build" -j "$jobs" >&2
cmake --install "$work/build" >/dev/null
echo "$want" >"$stamp"
rm -rf "$work/build" "$src"
echo "$prefix"
