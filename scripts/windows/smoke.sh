# Smoke run of the installer (sourced by test.sh): a silent install into a Wine prefix of its own, the
# installed tavro-cli.exe writes the demo school into a data folder with Japanese names and reads it back,
# the program-side ini points tavro.exe at it, and tavro.exe starts under Xvfb: a screenshot of its main
# window goes to $shots/main-window.png; a second start is refused while the first runs.

smoke_fail() {
  echo "FAIL smoke: $*"
  failures+=("smoke: $*")
}

run_smoke() {
  local setup
  setup=$(ls -t "$repo"/dist/tavro-*-setup.exe 2>/dev/null | head -1)
  if [ -z "$setup" ]; then
    smoke_fail "no dist/tavro-*-setup.exe (scripts/windows/package.sh)"
    return
  fi
  local prefix=$work/smoke
  new_prefix "$prefix"
  export WINEPREFIX=$prefix
  unset WINEPATH
  local user home
  user=$(id -un)
  home=$prefix/drive_c/users/$user
  local install=$home/AppData/Local/Programs/Tavro

  # Per user, no administrator: everything under the user's folders.
  wine "$setup" /S >"$work/smoke-install.log" 2>&1 || smoke_fail "setup.exe /S exited with $?"
  WINEPREFIX=$prefix wineserver -w
  local f
  for f in tavro.exe tavro-cli.exe tavro-print.exe tavro.INI uninstall.exe Qt6Core.dll platforms/qwindows.dll \
    translations/qtbase_ja.qm licenses/README.txt; do
    [ -f "$install/$f" ] || smoke_fail "not installed: $f"
  done
  [ -f "$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/成績処理TAVRO/成績処理TAVRO.lnk" ] ||
    smoke_fail "no Start menu entry 成績処理TAVRO"
  [ -f "$install/tavro.exe" ] || return

  # The data folder and the files of the demo school have Japanese names.
  local data="C:\\users\\$user\\成績処理\\さくら台中学校"
  mkdir -p "$home/成績処理" # the demo makes the data folder itself, not its parent
  local cli="C:\\users\\$user\\AppData\\Local\\Programs\\Tavro\\tavro-cli.exe"
  # The school year the program opens on (it starts in April), so the screenshot shows the demo's tests.
  local nendo
  nendo=$(date +%Y)
  [ "$(date +%-m)" -ge 4 ] || nendo=$((nendo - 1))
  wine "$cli" demo "$data" --year "$nendo" >"$work/smoke-demo.log" 2>&1 || smoke_fail "tavro-cli.exe demo exited with $?"
  wine "$cli" info --data "$data" --year "$nendo" >"$work/smoke-info.txt" 2>&1 || smoke_fail "tavro-cli.exe info exited with $?"
  grep -q "市立さくら台中学校" "$work/smoke-info.txt" || smoke_fail "info does not show the demo school"
  ls "$home/成績処理/さくら台中学校/$nendo" >/dev/null 2>&1 || smoke_fail "no year folder in the data folder"

  # The program-side ini (code page 932) points at the data folder.
  printf '[Settings]\r\nMainIniFile=\r\nDataFolder=%s\r\n' "$data" | iconv -f UTF-8 -t CP932 >"$install/tavro.INI"
  local resolved
  resolved=$(wine "$cli" datafolder --program "C:\\users\\$user\\AppData\\Local\\Programs\\Tavro\\tavro.exe" 2>&1 | tr -d '\r')
  case "$resolved" in
  *さくら台中学校*) ;;
  *) smoke_fail "datafolder gives '$resolved'" ;;
  esac

  # tavro.exe on a virtual display.
  local display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  sleep 2
  DISPLAY=$display wine "$install/tavro.exe" >"$work/smoke-tavro.log" 2>&1 &
  local first=$!
  sleep "${TAVRO_SMOKE_WAIT:-25}"
  if kill -0 "$first" 2>/dev/null; then
    xwd -root -display "$display" | xwdtopnm 2>/dev/null | pnmtopng >"$shots/main-window.png" 2>/dev/null
    echo "screenshot: $shots/main-window.png"
    # A second start sees the mutex of the first and only says so.
    DISPLAY=$display wine "$install/tavro.exe" >"$work/smoke-second.log" 2>&1 &
    local second=$!
    sleep 8
    xwd -root -display "$display" | xwdtopnm 2>/dev/null | pnmtopng >"$shots/second-start.png" 2>/dev/null
    echo "screenshot: $shots/second-start.png"
  else
    smoke_fail "tavro.exe ended at start: $(tail -5 "$work/smoke-tavro.log")"
  fi
  stop_prefix "$prefix"
  wait "$first" 2>/dev/null || true
  [ -n "${second:-}" ] && { wait "$second" 2>/dev/null || true; }
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  [ -s "$shots/main-window.png" ] || smoke_fail "no screenshot"

  # The uninstaller removes the program and its Start-menu entry; the program-side ini stays.
  WINEPREFIX=$prefix wine "C:\\users\\$user\\AppData\\Local\\Programs\\Tavro\\uninstall.exe" /S
  WINEPREFIX=$prefix wineserver -w
  sleep 2
  [ ! -e "$install/tavro.exe" ] && [ ! -e "$install/Qt6Core.dll" ] || smoke_fail "uninstall left the program"
  [ -f "$install/tavro.INI" ] || smoke_fail "uninstall removed the program-side ini"
  [ ! -e "$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/成績処理TAVRO" ] ||
    smoke_fail "uninstall left the Start menu entry"
  stop_prefix "$prefix"
  echo "smoke: done"
}

run_smoke
