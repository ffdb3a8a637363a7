#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Non-zero exit status on any failure.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
# A compiler cache, where one is installed, makes a rebuild of an unchanged tree quick.
if command -v ccache >/dev/null 2>&1 && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake --preset release >/dev/null
cmake --build --preset release -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build/release --output-on-failure -j2

if [ -x scripts/fuzz.sh ] && command -v clang++ >/dev/null 2>&1; then
  ./scripts/fuzz.sh
fi
