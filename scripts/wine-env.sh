# Sourced by the Wine scripts: the environment of every Wine run of this project.
# Usage: . wine-env.sh <wine-dir>   (the folder in the build tree that holds the prefix and the session state)

VANTREL_WINE_DIR=$(mkdir -p "$1" && cd "$1" && pwd)
export VANTREL_WINE_DIR
export WINEPREFIX="$VANTREL_WINE_DIR/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver64 || command -v wineserver)
export WINESERVER

# A session started without a display of the caller's own runs on its own Xvfb; later runs join it.
if [ -z "${DISPLAY:-}" ] && [ -f "$VANTREL_WINE_DIR/session/display" ]; then
  DISPLAY=$(cat "$VANTREL_WINE_DIR/session/display")
  export DISPLAY
fi
