#!/usr/bin/env bash
# The full fault sweep: every write path of tavro-cli, and the saves of the score-entry, evaluation,
# roster and settings windows (tests/faults/window_save_probe), with each of their file-system calls
# failing in turn, with every error (ENOSPC, EIO, EACCES, EROFS). Prints per path the calls that can fail, the faults injected
# and the failures found; non-zero exit status when any. Linux only.
#   TAVRO_FAULT_ERRNOS  errors to inject (default ENOSPC,EIO,EACCES,EROFS)
#   TAVRO_FAULT_PATHS   paths to sweep (default all: load,calc,formulas,...,demo,window-input,
#                       window-evaluation,window-roster,window-settings,window-kanten,
#                       window-members,window-tanto,window-permission)
#   TAVRO_FAULT_LIMIT   at most this many calls per path and error, spread evenly (default 0: all)
#   TAVRO_FAULT_READS   1: opens for reading fail too
#   TAVRO_FAULT_DEMO_STRIDE  demo writes a whole school (some 1600 calls, each N a new demo): every
#                       call of its first and last 100 (the folders, the settings, the last files and
#                       their renames) fails, and every this-many-th between them (default 10; 1: all)
# Extra arguments go to the driver (tests/faults/fault_sweep.py --help).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j2 --target tavro-cli tavro_iofault window_save_probe >/dev/null
args=(--cli build/release/src/tavro-cli --lib build/release/tests/faults/tavro-iofault.so
      --probe build/release/tests/faults/window_save_probe
      --errno "${TAVRO_FAULT_ERRNOS:-ENOSPC,EIO,EACCES,EROFS}" --limit "${TAVRO_FAULT_LIMIT:-0}"
      --demo-stride "${TAVRO_FAULT_DEMO_STRIDE:-10}" --demo-edges 100)
[ -n "${TAVRO_FAULT_PATHS:-}" ] && args+=(--paths "$TAVRO_FAULT_PATHS")
[ "${TAVRO_FAULT_READS:-0}" = 1 ] && args+=(--reads)
exec python3 tests/faults/fault_sweep.py "${args[@]}" "$@"
