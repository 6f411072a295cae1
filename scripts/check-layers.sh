#!/usr/bin/env bash
# Checks the layer rule of src/: a folder includes only from itself and the folders below it, and the
# portable core never includes <windows.h>. Prints each offending include; exits 1 when there is any.
#   views ← sources ← engine ← platform ← ui ← dialogs ← shell
# console (kivoc) sits beside shell: it may include everything below shell, and of shell only the headers
# that hold no window.
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
layers=(views sources engine platform ui dialogs shell console)
console_shell_headers="command_language.h out_file.h out_file_target.h program_services.h settings.h snapshot_folder_setting.h view_commands.h view_opening.h"
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

while IFS=: read -r file line include; do
  header=$(sed -E 's/^#include "shell\/(.*)"/\1/' <<<"$include")
  if ! grep -qw -- "$header" <<<"$console_shell_headers"; then
    echo "$file:$line: console must not include shell's window code: $include"
    status=1
  fi
done < <(grep -rnE '^#include "shell/' "$src/console" 2>/dev/null)

for folder in views sources engine; do
  if grep -rnE '^#include <windows\.h>' "$src/$folder"; then
    echo "the portable core ($folder) must not include <windows.h>"
    status=1
  fi
done
exit $status
