# Shared start of the end-to-end scripts; sourced after they set $exe and
# $shipped. Re-runs the calling script on a virtual X display, then checks that
# the program folder still holds the shipped first password file.
if [ -z "${FONDARO_E2E_DISPLAY:-}" ]; then
  exec env FONDARO_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
# The test runner asks for the offscreen platform; here the real X display is wanted.
unset QT_QPA_PLATFORM

folder=$(dirname "$exe")
if ! cmp -s "$folder/unins000.dll" "$shipped"; then
  echo "e2e: $folder/unins000.dll is not the shipped first password file; restore it with: cp $shipped $folder/" >&2
  exit 1
fi
