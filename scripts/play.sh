#!/usr/bin/env bash
# Builds lumrun and the bundled demo game, then shows the game.
# Usage: scripts/play.sh [extra lumrun options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=$root/build
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)" --target lumrun demo_game
"$build/shell/lumrun" --info "$@" "$build/games/demo"
