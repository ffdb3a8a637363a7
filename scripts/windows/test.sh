#!/usr/bin/env bash
# Runs the Windows build under Wine: the test programs of build.sh (offscreen platform), then the smoke run
# of the installer (silent install into a Wine prefix of its own, the installed tavro-cli.exe on a data
# folder with Japanese names, tavro.exe under Xvfb with a screenshot of its main window), then the
# byte-equality of tavro-cli's output under Wine and on Linux. Non-zero exit status on any failure.
#
# Needs build/windows (scripts/windows/build.sh) and, for the smoke run, dist/tavro-*-setup.exe
# (scripts/windows/package.sh); builds the Linux tavro-cli in build/release when missing.
# TAVRO_SHOTS: folder of the screenshots (default build/windows/shots).
# TAVRO_WINE_TESTS: names of test programs to run instead of all of them; TAVRO_WINE_PARTS: any of
# "tests smoke cli" (default all three).
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
here=scripts/windows
# shellcheck source=scripts/windows/targets.sh
. "$here/targets.sh"
"$here/install-deps.sh"
qt=$("$here/find-qt.sh")

parts=${TAVRO_WINE_PARTS:-tests smoke cli}
shots=${TAVRO_SHOTS:-$repo/build/windows/shots}
work=$repo/build/windows/wine
mkdir -p "$work" "$shots"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
failures=()

# Test programs that cannot run under Wine, with the reason.
case_reason="checks the lookup of names spelled in another case, which needs a case-sensitive file system; Windows (and Wine's drive) ignore case, so the file system does that lookup itself"
declare -A skip=(
  [DataPathsTest]=$case_reason
  [FolderIndexTest]=$case_reason
  [IniFileTest]=$case_reason
  [KantenFileTest]=$case_reason
)

winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"; }

# A Wine prefix of its own, with the IPA fonts visible to Windows programs.
new_prefix() {
  local prefix=$1
  rm -rf "$prefix"
  WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1
  local fonts=$prefix/drive_c/windows/Fonts
  mkdir -p "$fonts"
  for f in /usr/share/fonts/opentype/ipafont-gothic/*.ttf /usr/share/fonts/opentype/ipafont-mincho/*.ttf; do
    [ -e "$f" ] && ln -sf "$f" "$fonts/"
  done
  WINEPREFIX=$prefix wineserver -w
}

# Wine hands no QT_* variable of the Unix environment to Windows programs: they are set in the prefix's
# user environment instead.
prefix_env() {
  WINEPREFIX=$1 wine reg add 'HKCU\Environment' /v "$2" /d "$3" /f >/dev/null 2>&1
  WINEPREFIX=$1 wineserver -w
}

stop_prefix() { WINEPREFIX=$1 wineserver -k 2>/dev/null || true; }

# --- the test programs -------------------------------------------------------------------------------
run_tests() {
  local prefix=$work/tests logs=$work/logs
  new_prefix "$prefix"
  rm -rf "$logs"
  mkdir -p "$logs"
  local names=(${TAVRO_WINE_TESTS:-${wine_tests[@]}})
  local runnable=()
  for n in "${names[@]}"; do
    if [ -n "${skip[$n]:-}" ]; then
      echo "SKIP $n: ${skip[$n]}"
    else
      runnable+=("$n")
    fi
  done
  prefix_env "$prefix" QT_QPA_PLATFORM offscreen
  prefix_env "$prefix" QT_PLUGIN_PATH "$(winpath "$qt/plugins")"
  export WINEPREFIX=$prefix
  export WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
  export -f run_one winpath
  export logs repo
  printf '%s\n' "${runnable[@]}" | xargs -P "${TAVRO_JOBS:-2}" -I{} bash -c 'run_one {}' || true
  for n in "${runnable[@]}"; do
    if [ "$(cat "$logs/$n.rc" 2>/dev/null)" = 0 ]; then
      echo "PASS $n ($(cat "$logs/$n.time")s)"
    else
      echo "FAIL $n (status $(cat "$logs/$n.rc" 2>/dev/null || echo none)), log: $logs/$n.log"
      grep -E -A3 '^(FAIL!|QFATAL)' "$logs/$n.log" | head -24 || true
      failures+=("test $n")
    fi
  done
  stop_prefix "$prefix"
}

run_one() {
  local n=$1 exe
  exe=$(find "$repo/build/windows/tests" -name "$n.exe" | head -1)
  local start=$SECONDS status=0
  if [ -z "$exe" ]; then
    echo "not built" >"$logs/$n.log"
    status=127
  else
    # Qt Test writes its report to a file under Wine; what else the program prints goes to .out.
    (cd "$(dirname "$exe")" && timeout 300 wine "$exe" -o "$(winpath "$logs")\\$n.log,txt" >"$logs/$n.out" 2>&1) ||
      status=$?
  fi
  echo $((SECONDS - start)) >"$logs/$n.time"
  echo "$status" >"$logs/$n.rc"
}

for part in $parts; do
  case $part in
  tests) run_tests ;;
  smoke) . "$here/smoke.sh" ;;
  cli) . "$here/cli-equality.sh" ;;
  esac
done

if [ ${#failures[@]} -gt 0 ]; then
  echo "windows/test: ${#failures[@]} failed:"
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
echo "windows/test: all passed"
