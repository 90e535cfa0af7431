#!/usr/bin/env bash
# Checks that every include points down the layer list: a file of a layer
# includes only headers of its own layer and of the layers before it.
# Usage: scripts/check_layers.sh [SOURCE_ROOT]   (exit 1 and a line per fault)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(platform render media script scene library shell)
status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  layer=${layers[$i]}
  [[ -d "$root/$layer" ]] || continue
  allowed=" ${layers[*]:0:$((i + 1))} "
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$rest")
    [[ " ${layers[*]} " == *" $target "* ]] || continue
    if [[ "$allowed" != *" $target "* ]]; then
      echo "${file#$root/}:$line: $layer includes $target, a later layer"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$root/$layer" \
             --include='*.h' --include='*.cpp' | sed -E 's/^([^:]+):([0-9]+):/\1:\2:/')
done
exit $status
