#!/bin/bash
# Builds the program and runs it under wine in a virtual desktop whose taskbar
# shows the tray icon: on your display when there is one, under Xvfb otherwise.
# The prefix (and so the program's registry data) is kept between runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
# Only the program and its help file: the test build in the same folder is left as it is.
YK_TARGETS="yomikaze yk_help" "$root/scripts/build.sh" x86_64

build="${YK_BUILD_DIR:-$root/build}/x86_64"
export YK_WINE_ROOT="$build/wine-run"
mkdir -p "$YK_WINE_ROOT"
. "$root/scripts/wine-env.sh"
trap yk_cleanup EXIT
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
yk_need_display
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the wine prefix in $WINEPREFIX (once)"
  yk_fresh_prefix
fi
yk_start_wineserver
echo "Starting yomikaze.exe; it lives in the tray of the wine desktop's taskbar (bottom right)."
echo "Right-click the tray icon for its menu; choose 終了(X) to end it."
wine "$build/bin/yomikaze.exe" </dev/null >"$YK_WINE_ROOT/yomikaze.log" 2>&1 &
app=$!
if [ "$headless" = 1 ]; then
  echo "No display was given, so the desktop runs under Xvfb on $DISPLAY."
  echo "A screenshot is saved every 10 s to $build/run-screenshot.png; press Ctrl-C to stop."
  while kill -0 "$app" 2>/dev/null; do
    sleep 10
    import -window root "$build/run-screenshot.png" 2>/dev/null || true
  done
else
  wait "$app" || true
fi
