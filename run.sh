#!/usr/bin/env bash
# Installs what is missing, builds (Release), creates the demo school when the data folder is empty,
# and starts the program. Extra arguments go to tavro (for example --data DIR).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target tavro tavro-cli

bin=build/release/src
data=
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    --data) data="${args[i + 1]:-}" ;;
    --data=*) data="${args[i]#--data=}" ;;
  esac
done
# A configured data folder that is missing (a network drive not connected) stops here with its message.
[ -n "$data" ] || data=$("$bin/tavro-cli" datafolder --program "$bin/tavro")

mkdir -p "$data"
if [ -z "$(ls -A "$data" 2>/dev/null)" ]; then
  echo "Creating the demo school in $data"
  "$bin/tavro-cli" demo "$data"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" = "" ]; then
  echo "No display found. On a machine without a desktop, start it under a virtual display:" >&2
  echo "  xvfb-run -a -s '-screen 0 1280x800x24' ./run.sh" >&2
  exit 1
fi

exec "$bin/tavro" "$@"
