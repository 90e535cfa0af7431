#!/usr/bin/env bash
# The layer check passes on the source tree and fails on a planted upward
# include (in a scratch copy, never in the tree).
set -uo pipefail
root=$1
check="$root/scripts/check_layers.sh"
if ! out=$("$check" "$root"); then
  echo "the source tree has upward includes:"; echo "$out"; exit 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/media" "$scratch/shell"
printf '#include "render/canvas.h"\n#include <vector>\n' > "$scratch/media/fine.cpp"
printf '#include "scene/db.h"\n' > "$scratch/shell/fine.cpp"
if ! "$check" "$scratch" >/dev/null; then echo "downward includes were refused"; exit 1; fi
printf '#include "platform/file_ops.h"\n  #include "library/routine_table.h"\n' > "$scratch/media/upward.h"
out=$("$check" "$scratch") && { echo "an upward include passed"; exit 1; }
grep -q 'media/upward.h:2: media includes library' <<<"$out" || { echo "unexpected report: $out"; exit 1; }
# A layer inside another one's folder: the routine bodies of a game may use
# the scene, the routine table beside them may not, nor may the table's
# folder include them.
rm -f "$scratch/media/upward.h"
mkdir -p "$scratch/library/engine"
printf '#include "scene/db.h"\n#include "library/routine_table.h"\n' > "$scratch/library/engine/fine.cpp"
if ! out=$("$check" "$scratch"); then echo "a nested layer's downward includes were refused: $out"; exit 1; fi
printf '#include "library/builtins/routines.h"\n#include "scene/db.h"\n' > "$scratch/library/table.cpp"
printf '#include "library/engine/game_routines.h"\n' > "$scratch/library/table.h"
out=$("$check" "$scratch") && { echo "an upward include from the outer folder passed"; exit 1; }
grep -q 'library/table.cpp:2: library includes scene' <<<"$out" || { echo "unexpected report: $out"; exit 1; }
grep -q 'library/table.h:1: library includes library/engine' <<<"$out" || { echo "unexpected report: $out"; exit 1; }
[[ $(wc -l <<<"$out") -eq 2 ]] || { echo "unexpected report: $out"; exit 1; }
echo "layer check ok"
