#!/usr/bin/env bash
# Builds the fuzz targets of the file readers (clang, libFuzzer; the "fuzz" preset) and runs each for a
# few seconds over its seed corpus. Non-zero exit status when a target crashes or fails a check.
#   scripts/fuzz.sh [SECONDS [TARGET...]]
# SECONDS (or FUZZ_SECONDS) sets the time per target (default 5); TARGETs (without "fuzz_") pick targets.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${FUZZ_SECONDS:-5}}"
targets=(worksheet class_result elective_result test_scores ini year_settings roster teacher electives data_json)
if [ $# -gt 1 ]; then
  shift
  targets=("$@")
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}"

bin=build/fuzz/tests/fuzz
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

status=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t"
  # New inputs go to the scratch folder; the committed seeds are only read.
  if "$bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$artifacts/$t-" "$work/$t" "tests/fuzz/corpus/$t" >"$work/$t.log" 2>&1; then
    echo "fuzz_$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/$t.log" | grep -o '[0-9]*$') runs, no failure"
  else
    echo "fuzz_$t FAILED (input saved under $artifacts):"
    tail -n 40 "$work/$t.log"
    status=1
  fi
done
exit $status
