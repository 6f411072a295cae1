#!/usr/bin/env bash
# `make bench`: runs every benchmark program (bench_*.exe) under Wine; each prints "<figure>: <number> [unit]".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
shopt -s nullglob
programs=("$build"/bin/bench_*.exe)
if [ ${#programs[@]} -eq 0 ]; then
  echo "No benchmark programs are built yet."
  exit 0
fi
"$here/wine-session.sh" start "$build/wine"
trap '"$here/wine-session.sh" stop "$build/wine"' EXIT
# A program whose figures break their limits ends non-zero; the others still run, and the run fails at the end.
failed=()
for program in "${programs[@]}"; do
  echo "== $(basename "$program" .exe)"
  "$here/wine-run.sh" "$build/wine" "$program" || failed+=("$(basename "$program" .exe)")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Outside their limits: ${failed[*]}"
  exit 1
fi
