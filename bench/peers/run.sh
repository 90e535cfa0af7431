#!/usr/bin/env bash
# Six workloads run by the script interpreter and by Lua 5.4 in the same
# run: prints both times and the ratio (interpreter / Lua, lower is better),
# then a property read through a path against a plain variable read.
# Never fails: without lua5.4 it says so and prints the interpreter's times.
# Usage: bench/peers/run.sh [BUILD_DIR]
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runner=$build/bench/bench_peer_scripts
workloads="while_loop for_if_mod string_building array_fill_sum element_field abs_max"
if [ ! -x "$runner" ]; then
  echo "peers: $runner is not built"
  exit 0
fi
lua=$(command -v lua5.4 || true)
[ -n "$lua" ] || echo "peers: lua5.4 not found (Debian package lua5.4); interpreter times only"

# Best of three, measured inside Lua around the twin.
lua_time() {
  "$lua" -e "local best = 1e9
    for _ = 1, 3 do
      local t = os.clock(); dofile('$here/$1.lua'); local s = os.clock() - t
      if s < best then best = s end
    end
    print(string.format('%.4f', best))"
}

# The two sides alternate for a few rounds and each keeps its best time,
# so that a slow spell of the machine does not land on one side only.
rounds=${PEER_ROUNDS:-3}
min_of() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || a == "?") print b; else if (b == "?" || b + 0 >= a + 0) print a; else print b }'; }
declare -A ours theirs
for ((round = 0; round < rounds; ++round)); do
  while read -r name seconds; do ours[$name]=$(min_of "${ours[$name]:-}" "$seconds"); done < <(
    cd "$here" && "$runner" $(for w in $workloads path_read path_root plain_read; do echo "$w.pas"; done))
  if [ -n "$lua" ]; then
    for w in $workloads; do theirs[$w]=$(min_of "${theirs[$w]:-}" "$(lua_time "$w")"); done
  fi
done

printf '%-16s %10s %10s %8s\n' workload script_s lua_s ratio
for w in $workloads; do
  s=${ours[$w]:-?}
  if [ -n "$lua" ]; then
    l=${theirs[$w]:-?}
    printf '%-16s %10s %10s %8s\n' "$w" "$s" "$l" \
      "$(awk -v a="$s" -v b="$l" 'BEGIN { if (b > 0 && a != "?") printf "%.2f", a / b; else print "?" }')"
  else
    printf '%-16s %10s %10s %8s\n' "$w" "$s" "-" "-"
  fi
done
plain=${ours[plain_read]:-?}
for p in path_read path_root; do
  printf '%-16s %10s  (plain read %s s: %s times)\n' "$p" "${ours[$p]:-?}" "$plain" \
    "$(awk -v a="${ours[$p]:-0}" -v b="$plain" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "?" }')"
done
exit 0
