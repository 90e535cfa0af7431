#!/usr/bin/env bash
# Headless play of the demo game: times `lumrun --headless --ticks 3000`
# (every tick draws a frame with the software renderer) and prints logic
# ticks per second. Usage: bench/demo_ticks.sh [BUILD_DIR [TICKS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
ticks=${2:-3000}
save=$(mktemp -d)
trap 'rm -rf "$save"' EXIT
start=$(date +%s.%N)
"$build/shell/lumrun" --headless --ticks "$ticks" --save-dir "$save" "$build/games/demo" >/dev/null
end=$(date +%s.%N)
awk -v t="$ticks" -v a="$start" -v b="$end" \
  'BEGIN { s = b - a; printf "demo: %d ticks in %.2f s: %.0f ticks per second\n", t, s, t / s }'
