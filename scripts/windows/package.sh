#!/usr/bin/env bash
# Makes dist/tavro-<version>-setup.exe: builds the three programs for Windows (build.sh), stages them with
# the Qt DLLs and plugins they load, the MinGW runtime DLLs, Qt's Japanese translations and the licence
# texts in build/windows/stage, and packs the stage with NSIS (installer/tavro.nsi).
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD

# --no-build: pack what build/windows holds.
[ "${1:-}" = --no-build ] || scripts/windows/build.sh tavro tavro-cli tavro-print
qt=$(scripts/windows/find-qt.sh)
version=$(sed -n 's/^project(tavro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bin=build/windows/src
stage=build/windows/stage
rm -rf "$stage"
mkdir -p "$stage"/{platforms,styles,imageformats,translations,licenses} dist

cp "$bin"/tavro.exe "$bin"/tavro-cli.exe "$bin"/tavro-print.exe "$stage"/
cp "$qt"/plugins/platforms/qwindows.dll "$qt"/plugins/platforms/qoffscreen.dll "$stage"/platforms/
cp "$qt"/plugins/styles/qwindowsvistastyle.dll "$stage"/styles/
cp "$qt"/plugins/imageformats/qico.dll "$stage"/imageformats/

# Every DLL the programs and plugins load that is not part of Windows, from Qt and MinGW.
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
queue=("$stage"/*.exe "$stage"/*/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$stage/"
        queue+=("$stage/$dll")
        break
      fi
    done
  done
done

# No debugging symbols in what is shipped.
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

# Qt's dialogs in Japanese: read by the program from the folder translations beside it.
cp /usr/share/qt6/translations/qt_ja.qm /usr/share/qt6/translations/qtbase_ja.qm "$stage"/translations/

# The program-side ini: the main ini is this file itself; DataFolder empty means the folder data beside
# the program. Written only when the user has none yet.
printf '[Settings]\r\nMainIniFile=\r\nDataFolder=\r\n' >"$stage"/tavro.INI

# Licences of what is shipped.
cp /usr/share/common-licenses/LGPL-3 "$stage"/licenses/LGPL-3.0.txt
cp /usr/share/common-licenses/GPL-3 "$stage"/licenses/GPL-3.0.txt
cp /usr/share/common-licenses/GPL-2 "$stage"/licenses/GPL-2.0.txt
cp /usr/share/doc/libqt6core6/copyright "$stage"/licenses/Qt-copyright.txt
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage"/licenses/GCC-runtime-copyright.txt
cp /usr/share/doc/mingw-w64-common/copyright "$stage"/licenses/MinGW-w64-copyright.txt
charts=../shared/windows/qtcharts-everywhere-src-6.4.2.tar.xz
if [ -f "$charts" ]; then
  tar -xJOf "$charts" qtcharts-everywhere-src-6.4.2/LICENSES/GPL-3.0-only.txt >"$stage"/licenses/QtCharts-GPL-3.0.txt ||
    cp /usr/share/common-licenses/GPL-3 "$stage"/licenses/QtCharts-GPL-3.0.txt
else
  cp /usr/share/common-licenses/GPL-3 "$stage"/licenses/QtCharts-GPL-3.0.txt
fi
cat >"$stage"/licenses/README.txt <<TEXT
Third-party software shipped with Tavro $version

Qt 6.4.2 (Qt6Core, Qt6Gui, Qt6Widgets, Qt6PrintSupport and the plugins in platforms, styles,
imageformats) - The Qt Company Ltd and other contributors, under the GNU Lesser General Public
License v3 (LGPL-3.0.txt) or the GNU General Public License v2 or v3 (GPL-2.0.txt, GPL-3.0.txt);
see Qt-copyright.txt. The sources are those of Qt 6.4.2 (qtbase-everywhere-src-6.4.2).
Qt's Japanese translations (translations\\qt_ja.qm, qtbase_ja.qm) are under the same licences.

Qt Charts 6.4.2 (Qt6Charts.dll) - The Qt Company Ltd, under the GNU General Public License v3
(QtCharts-GPL-3.0.txt); sources: qtcharts-everywhere-src-6.4.2.

GCC runtime (libstdc++-6.dll, libgcc_s_seh-1.dll) - GPL v3 with the GCC Runtime Library Exception;
see GCC-runtime-copyright.txt.
MinGW-w64 runtime (libwinpthread-1.dll) - see MinGW-w64-copyright.txt.
TEXT

out="$repo/dist/tavro-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$repo/$stage" -DOUTFILE="$out" installer/tavro.nsi
ls -l "$out"
