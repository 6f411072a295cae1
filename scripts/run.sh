#!/usr/bin/env bash
# `make run`: starts Vantrel in the private Wine prefix with the demo registry imported.
# With a display, Kivo.exe opens on it. Without one, it runs inside a Wine virtual desktop on a private Xvfb;
# once the main window is up a screenshot is written to <build>/screenshot.png, and Vantrel keeps running
# until interrupted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
wine_dir="$build/wine"
kivo="$build/bin/Kivo.exe"
[ -f "$kivo" ] || { echo "Kivo.exe is not built: run make build" >&2; exit 1; }

had_display=${DISPLAY:+yes}
"$here/wine-session.sh" start "$wine_dir"
. "$here/wine-env.sh" "$wine_dir"

stop() {
  [ -n "${kivo_pid:-}" ] && kill "$kivo_pid" 2>/dev/null || true
  "$here/wine-session.sh" stop "$wine_dir"
}
trap stop EXIT
trap 'exit 130' INT TERM

if [ -n "$had_display" ]; then
  "$WINE" "$kivo"
  exit 0
fi

"$WINE" explorer /desktop=Vantrel,1280x900 "$kivo" </dev/null >/dev/null 2>&1 &
kivo_pid=$!
for _ in $(seq 1 200); do
  xdotool search --name '^Vantrel$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 3 # the splash, then the new-view dialog
import -window root "$build/screenshot.png"
echo "Vantrel is running on the virtual display $DISPLAY."
echo "Screenshot: $build/screenshot.png"
echo "Press Ctrl+C to stop."
wait "$kivo_pid" || true
