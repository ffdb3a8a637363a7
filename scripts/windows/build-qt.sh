#!/usr/bin/env bash
# Builds Qt 6.4.2 for Windows x86_64 with Debian's MinGW-w64 into PREFIX (default: the cache folder
# ${XDG_CACHE_HOME:-~/.cache}/tavro/qt6-mingw-6.4.2): qtbase from Debian's source package (needs a deb-src
# entry, added when missing), Qt Charts from the source archive in ../shared/windows. Host tools come from
# Debian's Qt. About an hour and a half on two cores.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
prefix="${1:-${XDG_CACHE_HOME:-$HOME/.cache}/tavro/qt6-mingw-6.4.2}"
charts=../shared/windows/qtcharts-everywhere-src-6.4.2.tar.xz
work="${XDG_CACHE_HOME:-$HOME/.cache}/tavro/qt-build"

scripts/windows/install-deps.sh
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! apt-get source --download-only --print-uris qt6-base >/dev/null 2>&1; then
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
    $SUDO tee /etc/apt/sources.list.d/tavro-deb-src.sources >/dev/null
  $SUDO apt-get update -qq
fi
[ -f "$charts" ] || { echo "build-qt: $charts is missing" >&2; exit 1; }

mkdir -p "$work"
cd "$work"
[ -f qt6-base_6.4.2+dfsg.orig.tar.xz ] || apt-get source --download-only qt6-base
[ -d qtbase-everywhere-src-6.4.2 ] || tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
[ -d qtcharts-everywhere-src-6.4.2 ] || tar xJf "$repo/$charts"

common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" -DTAVRO_QT_WINDOWS="$prefix"
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
cmake -S qtbase-everywhere-src-6.4.2 -B build-qtbase "${common[@]}" -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_openssl=OFF -DFEATURE_icu=OFF \
  -DINPUT_opengl=no -DFEATURE_tabletevent=OFF
cmake --build build-qtbase --parallel "${TAVRO_JOBS:-2}"
cmake --install build-qtbase
cmake -S qtcharts-everywhere-src-6.4.2 -B build-qtcharts "${common[@]}" -DCMAKE_PREFIX_PATH="$prefix"
cmake --build build-qtcharts --parallel "${TAVRO_JOBS:-2}"
cmake --install build-qtcharts
