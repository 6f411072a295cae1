#!/usr/bin/env bash
# Checks the layer rule of src/: a folder includes only from itself and the folders below it, and the
# portable core never includes <windows.h>. Prints each offending include; exits 1 when there is any.
#   views ← sources ← engine ← platform ← ui ← dialogs ← shell
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
layers=(views sources engine platform ui dialogs shell)
status=0

rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

for folder in "${layers[@]}"; do
  own=$(rank "$folder")
  while IFS=: read -r file line include; do
    target=$(sed -E 's/^#include "([a-z_]+)\/.*/\1/' <<<"$include")
    [ "$target" = "$include" ] && continue # a header beside the file
    theirs=$(rank "$target")
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$own" ]; then
      echo "$file:$line: $folder must not include $target: $include"
      status=1
    fi
  done < <(grep -rnE '^#include "' "$src/$folder" | sed -E 's/:([0-9]+):/:\1:/')
done

for folder in views sources engine; do
  if grep -rnE '^#include <windows\.h>' "$src/$folder"; then
    echo "the portable core ($folder) must not include <windows.h>"
    status=1
  fi
done
exit $status
