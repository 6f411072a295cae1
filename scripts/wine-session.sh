#!/usr/bin/env bash
# Starts or stops the Wine session that a test run or `make run` shares:
#   start <wine-dir> [<desktop program> [<program.exe>...]]
#                     create the private prefix on first use, start Xvfb when no display is set, start one
#                     persistent wineserver, import the demo registry when it changed; with a desktop program
#                     (the tests' tests/support/wine_test_desktop.cpp), keep the desktop open for the session and
#                     leave the windows of the named programs unmanaged
#   stop <wine-dir>   stop only what `start` started
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=${1:?usage: wine-session.sh start|stop <wine-dir>}
. "$here/wine-env.sh" "${2:?usage: wine-session.sh start|stop <wine-dir>}"
state="$VANTREL_WINE_DIR/session"

server_running() { "$WINESERVER" -k0 2>/dev/null; }   # signal 0: only asks whether it is there

start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  echo ":$n" >"$state/display"
  export DISPLAY=":$n"
}

start_server() {
  server_running && return 0
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 &
  touch "$state/wineserver.started"
  for _ in $(seq 1 100); do
    server_running && return 0
    sleep 0.05
  done
}

create_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "Creating the Wine prefix $WINEPREFIX (once)..."
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINESERVER" -w
}

# The first program of a new server starts the prefix's own services; they inherit its standard handles and
# would keep a test runner's output pipe open. Start them here, with nothing inherited.
boot_services() {
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}

# This Wine does not find the fonts of its own data folder (Marlett draws the caption buttons, Tahoma is the
# dialog font); the prefix's Fonts folder is always searched.
install_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && [ ! -e "$fonts/$(basename "$font")" ] && cp "$font" "$fonts/"
  done
  return 0
}

import_demo_registry() {
  local reg="$here/../demo/demo.reg" stamp="$VANTREL_WINE_DIR/demo.imported"
  [ -f "$reg" ] || return 0
  [ -f "$stamp" ] && [ "$stamp" -nt "$reg" ] && return 0
  # regedit wants UTF-16 with a byte-order mark for "Windows Registry Editor Version 5.00" files.
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg"; } >"$VANTREL_WINE_DIR/demo-utf16.reg"
  "$WINE" regedit /s "$(winepath_of "$VANTREL_WINE_DIR/demo-utf16.reg")" >/dev/null 2>&1
  touch "$stamp"
}

winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# The desktop program keeps running (once per session) with nothing inherited; its second run sets the programs'
# window management and returns once the desktop is up, so no test program starts the desktop with its output.
start_test_desktop() {
  local program=$1
  shift
  if [ ! -f "$state/desktop.pid" ] || ! kill -0 "$(cat "$state/desktop.pid")" 2>/dev/null; then
    setsid "$WINE" "$program" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/desktop.pid"
  fi
  "$WINE" "$program" --unmanaged "$@" </dev/null >/dev/null 2>&1
}

case "$action" in
  start)
    mkdir -p "$state"
    start_display
    create_prefix
    install_fonts
    start_server
    boot_services
    import_demo_registry
    if [ $# -gt 2 ]; then
      start_test_desktop "${@:3}"
    fi
    ;;
  stop)
    if [ -f "$state/desktop.pid" ]; then
      kill "$(cat "$state/desktop.pid")" 2>/dev/null || true
    fi
    if [ -f "$state/wineserver.started" ]; then
      "$WINESERVER" -k 2>/dev/null || true
      "$WINESERVER" -w 2>/dev/null || true
    fi
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -rf "$state"
    ;;
  *)
    echo "usage: wine-session.sh start|stop <wine-dir>" >&2
    exit 2
    ;;
esac
