#!/usr/bin/env bash
# Checks that every include points down the layer list: a file of a layer
# includes only headers of its own layer and of the layers before it. A
# layer may be a folder inside another one's (library/engine); its files
# belong to it, not to the outer layer, and so do includes of its headers.
# Usage: scripts/check_layers.sh [SOURCE_ROOT]   (exit 1 and a line per fault)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(platform render media script library scene library/games library/engine shell)
status=0

# Sets `found` to the layer an include path or a file path (relative to the
# root) is in: the longest layer folder it starts with; empty for none.
layer_of() {
  local layer
  found=""
  for layer in "${layers[@]}"; do
    if [[ "$1" == "$layer/"* && ${#layer} -gt ${#found} ]]; then found=$layer; fi
  done
}
include_pattern='#[[:space:]]*include[[:space:]]+"([^"]+)"'

for ((i = 0; i < ${#layers[@]}; i++)); do
  layer=${layers[$i]}
  [[ -d "$root/$layer" ]] || continue
  allowed=" ${layers[*]:0:$((i + 1))} "
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    layer_of "${file#$root/}"
    [[ "$found" == "$layer" ]] || continue
    [[ "$rest" =~ $include_pattern ]] || continue
    layer_of "${BASH_REMATCH[1]}"
    target=$found
    [[ -n "$target" ]] || continue
    if [[ "$allowed" != *" $target "* ]]; then
      echo "${file#$root/}:$line: $layer includes $target, a later layer"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$root/$layer" \
             --include='*.h' --include='*.cpp' | sed -E 's/^([^:]+):([0-9]+):/\1:\2:/')
done
exit $status
