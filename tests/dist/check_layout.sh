#!/usr/bin/env bash
# The folders' rule: a folder's own files join the widget-free library, its
# gui/ subfolder the GUI library. So only gui/ files and the programs' entry
# points include a gui/ header, and no folder includes one that includes it
# back.
set -euo pipefail
src=${1:?usage: check_layout.sh SRC}
status=0
while IFS= read -r file; do
  case $file in */gui/*|*/main.cpp|*/icon_writer.cpp) continue ;; esac
  echo "layout: ${file#"$src"/} includes a GUI header" >&2
  status=1
done < <(grep -rl --include='*.cpp' --include='*.h' '^#include "[a-z_]*/gui/' "$src" || true)

edges=$(grep -r --include='*.cpp' --include='*.h' -o '^#include "[a-z_]*/' "$src" |
  sed -E "s|^$src/([a-z_]+)/[^:]*:#include \"([a-z_]+)/|\1 \2|" | awk '$1 != $2' | sort -u)
while read -r from to; do
  [ -n "$from" ] || continue
  if grep -qx "$to $from" <<<"$edges"; then
    echo "layout: $from/ and $to/ include each other" >&2
    status=1
  fi
done <<<"$edges"
exit $status
