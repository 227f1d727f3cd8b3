#!/usr/bin/env bash
# lupdate over the program's sources must find every text of each .ts file
# translated, and nothing more or less: no unfinished, new or vanished entry.
set -euo pipefail
lupdate=$1 sources=$2 includes=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$@"; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  "$lupdate" -locations none -no-obsolete -I "$includes" "@$sources" -ts "$copy" \
    >"$work/lupdate.out" 2>&1 || { cat "$work/lupdate.out"; exit 1; }
  if grep -nE 'type="(unfinished|vanished|obsolete)"' "$copy"; then
    echo "FAIL: $(basename "$ts") has the entries above unfinished or obsolete" >&2
    status=1
  fi
  if ! diff -u "$ts" "$copy"; then
    echo "FAIL: lupdate changes $(basename "$ts") (- committed, + sources)" >&2
    status=1
  fi
done
exit $status
