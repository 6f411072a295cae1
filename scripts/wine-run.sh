#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private prefix: ctest's emulator for the Windows tests.
# Usage: wine-run.sh <wine-dir> <program.exe> [arguments...]
# Inside a ctest run the session fixture has already started Wine; run on its own, the script starts a
# session for this one program and stops it afterwards.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=${1:?usage: wine-run.sh <wine-dir> <program> [args]}
shift
. "$here/wine-env.sh" "$wine_dir"

own_session=0
if [ ! -d "$VANTREL_WINE_DIR/session" ]; then
  "$here/wine-session.sh" start "$VANTREL_WINE_DIR" || exit 1
  own_session=1
  . "$here/wine-env.sh" "$wine_dir"
fi

"$WINE" "$@"
status=$?

[ $own_session -eq 1 ] && "$here/wine-session.sh" stop "$VANTREL_WINE_DIR"
exit $status
