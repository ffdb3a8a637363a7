#!/usr/bin/env bash
# Cross-builds the Windows programs (tavro.exe, tavro-cli.exe, tavro-print.exe) and the test programs that
# run under Wine, into build/windows, with Debian's MinGW-w64 against Qt 6.4.2 for Windows.
#
# Qt for Windows, the first found: $TAVRO_QT_WINDOWS; /opt/qt6-mingw; the cache folder
# (${XDG_CACHE_HOME:-~/.cache}/tavro/qt6-mingw-6.4.2); the prebuilt archive in ../shared/windows, unpacked
# into the cache folder; else scripts/windows/build-qt.sh builds it from the sources into the cache folder.
#
#   scripts/windows/build.sh              programs and the test programs of scripts/windows/test.sh
#   scripts/windows/build.sh TARGET...    only these targets
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows

"$here/install-deps.sh"
qt=$("$here/find-qt.sh")
echo "windows/build: Qt for Windows in $qt"

if [ ! -f build/windows/build.ninja ] || ! grep -q "TAVRO_QT_WINDOWS:PATH=$qt\$" build/windows/CMakeCache.txt 2>/dev/null; then
  cmake --preset windows -DTAVRO_QT_WINDOWS:PATH="$qt" >/dev/null
fi

if [ $# -gt 0 ]; then
  targets=("$@")
else
  # shellcheck source=scripts/windows/targets.sh
  . "$here/targets.sh"
  targets=(tavro tavro-cli tavro-print "${wine_tests[@]}")
fi
cmake --build build/windows -j"${TAVRO_JOBS:-2}" --target "${targets[@]}"
