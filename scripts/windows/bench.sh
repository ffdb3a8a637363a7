#!/usr/bin/env bash
# The calculation, worksheet load and grade results load benchmarks of the Windows build under Wine beside
# the Linux build, on this machine. Google Benchmark for MinGW is built once from Debian's source package
# (benchmark 1.7.1, needs a deb-src entry, added when missing) into the cache folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tavro"
bm=$cache/benchmark-mingw
qt=$(scripts/windows/find-qt.sh)

if [ ! -f "$bm/lib/cmake/benchmark/benchmarkConfig.cmake" ]; then
  mkdir -p "$cache/benchmark-src"
  cd "$cache/benchmark-src"
  if [ ! -f benchmark_1.7.1.orig.tar.gz ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    if ! apt-get source --download-only benchmark >/dev/null 2>&1; then
      printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        $SUDO tee /etc/apt/sources.list.d/tavro-deb-src.sources >/dev/null
      $SUDO apt-get update -qq
      apt-get source --download-only benchmark
    fi
  fi
  rm -rf benchmark-1.7.1
  tar xzf benchmark_1.7.1.orig.tar.gz
  cmake -S benchmark-1.7.1 -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$bm" -DBENCHMARK_ENABLE_TESTING=OFF \
    -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBUILD_SHARED_LIBS=OFF >/dev/null
  cmake --build build -j"${TAVRO_JOBS:-2}"
  cmake --install build >/dev/null
  cd "$repo"
fi

benches=(EvaluationBench EvaluationFilesBench)
cmake --preset windows -DTAVRO_QT_WINDOWS:PATH="$qt" -DTAVRO_BUILD_BENCH=ON -Dbenchmark_DIR="$bm/lib/cmake/benchmark" >/dev/null
cmake --build build/windows -j"${TAVRO_JOBS:-2}" --target "${benches[@]}"
cmake --preset release >/dev/null
cmake --build build/release -j"${TAVRO_JOBS:-2}" --target "${benches[@]}"

export WINEPREFIX=$repo/build/windows/wine/bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"; }
export WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
filter='BM_CalculateOnePeriod|BM_WorksheetLoad|BM_GradeResultsLoad/'
out=build/windows/bench
mkdir -p "$out"
for b in "${benches[@]}"; do
  build/release/bench/$b --benchmark_filter="$filter" --benchmark_format=csv >"$out/$b.linux.csv" 2>/dev/null
  wine "build/windows/bench/$b.exe" --benchmark_filter="$filter" --benchmark_format=csv >"$out/$b.wine.csv" 2>/dev/null
done
# name, Linux real time, Wine real time (same unit), ratio
cat "$out"/*.linux.csv | tr -d '\r' | grep '^"BM_' | cut -d, -f1,3,5 | sort >"$out/linux.txt"
cat "$out"/*.wine.csv | tr -d '\r' | grep '^"BM_' | cut -d, -f1,3,5 | sort >"$out/wine.txt"
join -t, "$out/linux.txt" "$out/wine.txt" |
  awk -F, '{ printf "%-34s Linux %9.2f %s  Wine %9.2f %s  ratio %.2f\n", $1, $2, $3, $4, $5, $4 / $2 }'
