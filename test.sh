#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Non-zero exit status on any failure.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j2
QT_QPA_PLATFORM=offscreen ctest --test-dir build/release --output-on-failure -j2

if [ -x scripts/fuzz.sh ] && command -v clang++ >/dev/null 2>&1; then
  ./scripts/fuzz.sh
fi
