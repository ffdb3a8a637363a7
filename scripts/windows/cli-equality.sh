# tavro-cli under Wine and on Linux give the same bytes on the same data folder (sourced by test.sh): dump of
# a worksheet, the calculation (its report and the result files it writes), the clipboard texts
# "すべてをコピー" and "データ転送" in code page 932, and the layout JSON of printed documents.

cli_fail() {
  echo "FAIL cli: $*"
  failures+=("cli: $*")
}

run_cli_equality() {
  local linux_cli=$repo/build/release/src/tavro-cli
  if [ ! -x "$linux_cli" ] || [ ! -x "$repo/build/release/src/tavro-print" ]; then
    "$repo/scripts/install-deps.sh"
    cmake --preset release >/dev/null
    cmake --build build/release -j"${TAVRO_JOBS:-2}" --target tavro-cli tavro-print
  fi
  local win_cli=$repo/build/windows/src/tavro-cli.exe
  [ -f "$win_cli" ] || { cli_fail "no build/windows/src/tavro-cli.exe"; return; }

  local prefix=$work/cli
  if [ ! -d "$prefix/drive_c" ]; then
    new_prefix "$prefix"
    prefix_env "$prefix" QT_PLUGIN_PATH "$(winpath "$qt/plugins")"
  fi
  export WINEPREFIX=$prefix
  export WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"

  local t=$work/equality
  rm -rf "$t"
  mkdir -p "$t/linux" "$t/wine" "$t/out"
  "$linux_cli" demo "$t/linux/成績処理データ" --year 2024 >/dev/null
  cp -a "$t/linux/成績処理データ" "$t/wine/"

  # [--run-only] name, then the arguments with @D@ for the data folder; output to out/<name>.<side>
  compare() {
    local check=1
    if [ "$1" = --run-only ]; then
      check=0
      shift
    fi
    local name=$1
    shift
    local args=() a
    for a in "$@"; do args+=("${a//@D@/$t/linux/成績処理データ}"); done
    "$linux_cli" "${args[@]}" >"$t/out/$name.linux" 2>"$t/out/$name.linux.err" || echo "status $?" >>"$t/out/$name.linux"
    args=()
    for a in "$@"; do args+=("${a//@D@/$(winpath "$t/wine/成績処理データ")}"); done
    wine "$win_cli" "${args[@]}" >"$t/out/$name.wine" 2>"$t/out/$name.wine.err" || echo "status $?" >>"$t/out/$name.wine"
    if [ $check = 0 ]; then
      :
    elif [ ! -s "$t/out/$name.linux" ]; then
      cli_fail "$name: no output on Linux ($(head -c 300 "$t/out/$name.linux.err"))"
    elif cmp -s "$t/out/$name.linux" "$t/out/$name.wine"; then
      echo "PASS cli $name ($(wc -c <"$t/out/$name.linux") bytes)"
    else
      cli_fail "$name differs ($(cmp "$t/out/$name.linux" "$t/out/$name.wine" 2>&1 | sed -n "s/.*differ: //p"); Wine: $(head -c 200 "$t/out/$name.wine.err" | tr "\n" " "))"
    fi
  }
  local w=(--data @D@ --year 2024 --grade 1 --subject 国語 --teacher 井上和子)
  local sheet=@D@/井上和子/20241国語.dat

  compare dump-worksheet dump "$sheet"
  compare dump-test-scores dump @D@/2024/Test/A101国語.dat
  # The calculation on each side; its report carries the time of the run.
  compare --run-only calc calc "${w[@]}" --period 1 --answer yes
  sed -i -E 's#[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}#TIME#g' "$t/out/calc.linux" "$t/out/calc.wine"
  cmp -s "$t/out/calc.linux" "$t/out/calc.wine" && echo "PASS cli calc report (time of the run aside)" ||
    cli_fail "calc report differs beyond the time"
  # The result files: equal but for the time of the calculation each side stored.
  local c
  for c in 1 2 3; do
    compare --run-only "dump-results-$c" dump "@D@/2024/Hyoutei/10${c}国語.dat"
  done
  for c in 1 2 3; do
    sed -E 's/"dateTimes": \[[0-9.]+,/"dateTimes": [TIME,/' "$t/out/dump-results-$c.linux" >"$t/out/dump-results-$c.linux.masked"
    sed -E 's/"dateTimes": \[[0-9.]+,/"dateTimes": [TIME,/' "$t/out/dump-results-$c.wine" >"$t/out/dump-results-$c.wine.masked"
    cmp -s "$t/out/dump-results-$c.linux.masked" "$t/out/dump-results-$c.wine.masked" &&
      echo "PASS cli calc results of class $c (time of the calculation aside)" ||
      cli_fail "calc results of class $c differ beyond the time of the calculation"
  done
  # Both sides on the same result files: the Linux ones.
  for c in 1 2 3; do
    cp "$t/linux/成績処理データ/2024/Hyoutei/10${c}国語.dat" "$t/wine/成績処理データ/2024/Hyoutei/"
  done
  for c in 1 2 3; do
    compare "dump-results-same-$c" dump "@D@/2024/Hyoutei/10${c}国語.dat"
  done
  compare clip-results-all clip results-all "${w[@]}" --period 1 --sjis
  compare clip-excel clip excel --data @D@ --year 2024 --grade 1 --period 1 --sjis
  compare clip-marks clip marks --data @D@ --year 2024 --grade 1 --period 1 --subject 国語 --teacher 井上和子 --class 1 --sjis

  # Documents print the time of the calculation: both sides print from the Linux calculation.
  rm -rf "$t/wine/成績処理データ"
  cp -a "$t/linux/成績処理データ" "$t/wine/"
  compare layout-shiryou-a print shiryou-a "${w[@]}" --period 1 --pdf @D@/../a.pdf --layout -
  compare layout-score-list print score-list --data @D@ --year 2024 --grade 1 --test A --subject 国語 \
    --now 2024-06-01T10:00:00 --pdf @D@/../b.pdf --layout -
  [ -s "$t/wine/a.pdf" ] && [ -s "$t/wine/b.pdf" ] || cli_fail "no PDF written under Wine"
  stop_prefix "$prefix"
}

run_cli_equality
