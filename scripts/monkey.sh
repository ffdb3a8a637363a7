#!/usr/bin/env bash
# Builds the monkey test with the address and undefined-behaviour sanitizers (the "asan" preset) and
# runs it on every window, one process per window, for MINUTES each. Non-zero exit status when a
# window crashes, a sanitizer reports, or a data file is unreadable afterwards.
#   scripts/monkey.sh [MINUTES [WINDOW...]]
# MINUTES (or MONKEY_MINUTES) per window, default 10 (fractions allowed: 0.5); WINDOWs are the names
# `MonkeyTest -datatags` lists. TAVRO_MONKEY_SEED sets the seed (default 1), MONKEY_JOBS the windows
# run at once (default 1), MONKEY_LEAKS=1 turns the leak check on.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:-${MONKEY_MINUTES:-10}}"
seconds="$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')"
jobs="${MONKEY_JOBS:-1}"
seed="${TAVRO_MONKEY_SEED:-1}"

cmake --preset asan >/dev/null
cmake --build --preset asan -j2 --target MonkeyTest

bin="$PWD/build/asan/tests/monkey/MonkeyTest"
logs="$PWD/build/asan/monkey-logs"
mkdir -p "$logs"

export QT_QPA_PLATFORM=offscreen
export TAVRO_MONKEY_SEED="$seed" TAVRO_MONKEY_SECONDS="$seconds"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=${MONKEY_LEAKS:-0}:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export MONKEY_BIN="$bin" MONKEY_LOGS="$logs"

if [ $# -gt 1 ]; then
  shift
  windows=("$@")
else
  mapfile -t windows < <("$bin" -datatags | awk '$2 == "window" { print $3 }')
fi
echo "monkey: seed $seed, $seconds s per window, ${#windows[@]} windows, logs in $logs"

run_one() {
  local w="$1" log="$MONKEY_LOGS/$1.log"
  # The test's own watchdog would stop a long run; the timeout here allows for the sanitizers' pace.
  if QTEST_FUNCTION_TIMEOUT=$(((TAVRO_MONKEY_SECONDS + 600) * 1000)) \
     timeout $((TAVRO_MONKEY_SECONDS + 900)) "$MONKEY_BIN" -nocrashhandler "window:$w" >"$log" 2>&1; then
    echo "$w: $(grep -o 'monkey: [0-9]* events.*' "$log" | head -n1)"
  else
    echo "$w FAILED (replay: TAVRO_MONKEY_SEED=$TAVRO_MONKEY_SEED TAVRO_MONKEY_SECONDS=$TAVRO_MONKEY_SECONDS $MONKEY_BIN window:$w):"
    grep -v 'does not support\|propagateSizeHints' "$log" | tail -n 60
    return 1
  fi
}
export -f run_one

printf '%s\n' "${windows[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$1"' _ {}
