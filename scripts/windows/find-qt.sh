#!/usr/bin/env bash
# Prints the folder of Qt 6.4.2 for Windows (MinGW-w64), making it available first when needed: unpacked
# from ../shared/windows, or built from the sources by build-qt.sh. Exit status 1 with --check when it is
# neither there nor obtainable without building.
set -euo pipefail
cd "$(dirname "$0")/../.."

cache="${XDG_CACHE_HOME:-$HOME/.cache}/tavro/qt6-mingw-6.4.2"
archive=../shared/windows/qt6-mingw-6.4.2.tar.xz

usable() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/lib/cmake/Qt6Charts/Qt6ChartsConfig.cmake" ]; }

for candidate in "${TAVRO_QT_WINDOWS:-}" /opt/qt6-mingw "$cache"; do
  if [ -n "$candidate" ] && usable "$candidate"; then
    echo "$candidate"
    exit 0
  fi
done

if [ -f "$archive" ]; then
  if [ "${1:-}" = --check ]; then
    echo "$archive"
    exit 0
  fi
  # The archive holds opt/qt6-mingw; Qt's CMake files find their folder from where they are.
  mkdir -p "$cache.unpack"
  tar -C "$cache.unpack" -xJf "$archive"
  rm -rf "$cache"
  mv "$cache.unpack/opt/qt6-mingw" "$cache"
  rm -rf "$cache.unpack"
  echo "$cache"
  exit 0
fi

[ "${1:-}" = --check ] && exit 1
scripts/windows/build-qt.sh "$cache" >&2
echo "$cache"
