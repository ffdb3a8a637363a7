# The test programs run under Wine (sourced by build.sh and test.sh). Every core and command-line test;
# of the widget tests those of the teacher's main flow (main window, login, score entry, evaluation,
# printing) and the sound player, which run with the offscreen platform. The monkey test is a Linux
# sanitizer run.
wine_tests=()
for f in tests/*/*Test.cpp; do
  case "$f" in tests/gui/* | tests/reports/* | tests/monkey/*) continue ;; esac
  wine_tests+=("$(basename "$f" .cpp)")
done
wine_tests+=(MainFormTest LoginWindowsTest Input1FormTest Hyoutei1FormTest SoundPlayerTest PainterCanvasTest
  SubjectPrintWindowTest)
