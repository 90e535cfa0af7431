#!/usr/bin/env bash
# Builds lumrun and the bundled demo game, then plays it: in a window where
# there is a display, otherwise headless through a scripted play-through
# that writes a screenshot of each step.
# Usage: scripts/play.sh [extra lumrun options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=$root/build
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)" --target lumrun demo_game
game=$build/games/demo

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${LUMRUN_HEADLESS:-}" ]]; then
  exec "$build/shell/lumrun" --save-dir "$build/demo-save" "$@" "$game"
fi

shots=$build/demo-screenshots
rm -rf "$shots"
mkdir -p "$shots"
steps=(50:01-logo 235:02-menu-hover 270:03-puzzle 320:04-solved 340:05-cheat
       380:06-back-to-menu 410:07-russian)
args=()
for step in "${steps[@]}"; do
  args+=(--screenshot "${step%%:*}:$shots/${step#*:}.png")
done
"$build/shell/lumrun" --headless --ticks 420 --input "$root/games/demo/playthrough.txt" \
  --save-dir "$build/demo-save" --dump-state "$shots/state.json" "${args[@]}" "$@" "$game"
echo "No display here, so the demo ran headless for 420 ticks."
echo "Screenshots of each step and the final state are in: $shots"
