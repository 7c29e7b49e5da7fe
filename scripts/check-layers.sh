#!/usr/bin/env bash
# Checks that the source folders are layers: a file includes only headers of its own folder
# or of a folder below it, never one above or beside it (so there is no circle either).
# Usage: check-layers.sh [SRC_DIR]; prints every include that breaks the order, exit 1 then.
set -uo pipefail
src=${1:-"$(cd "$(dirname "$0")/.." && pwd)/src"}

# Bottom-up. A folder may include folders of a lower rank; folders of one rank are peers
# and may not include each other. base/win is part of base (the Win32 halves of base's
# portable interfaces use its handle owners).
declare -A rank=(
  [base]=0
  [ini]=1 [pictures]=1
  [settings]=2 [skin/data]=2
  [framework]=3
  [pictures/win]=4 [skin/gdi]=4 [messenger]=4
  [skin/core]=5
  [skin/controls]=6
  [skin/menus]=7
  [skin/windows]=8
  [app]=9 [gallery]=9
)

# The folder of a path relative to src: the longest folder of the table it lies in.
folder_of() {
  local dir=$1 best=""
  for f in "${!rank[@]}"; do
    if [[ $dir == "$f" || $dir == "$f"/* ]] && ((${#f} > ${#best})); then best=$f; fi
  done
  printf '%s' "$best"
}

status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  from=$(folder_of "$(dirname "$rel")")
  [[ -z $from ]] && { echo "$rel: folder not in the layer table"; status=1; continue; }
  while IFS= read -r header; do
    to=$(folder_of "$(dirname "$header")")
    [[ -z $to || $to == "$from" ]] && continue
    if ((rank[$to] >= rank[$from])); then
      echo "$rel includes $header: $to is not below $from"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -not -path '*/res/*')
exit $status
