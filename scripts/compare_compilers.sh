#!/usr/bin/env bash
# Plays the demo headless with the same seed and input through a g++ build and
# a clang build, and checks that both write the same screenshots and state:
# headless runs must not depend on the compiler or its standard library.
# Usage: scripts/compare_compilers.sh [GCC_BUILD_DIR [CLANG_BUILD_DIR]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
gcc_build=${1:-$root/build}
clang_build=${2:-$root/build-clang}
"$root/scripts/setup.sh"

build() {  # build DIR [cmake arguments...]
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target lumrun demo_game
}

play() {  # play BUILD_DIR OUT_DIR
  rm -rf "$2" && mkdir -p "$2"
  local args=()
  for t in 50 235 270 320 380 410; do args+=(--screenshot "$t:$2/tick-$t.png"); done
  "$1/shell/lumrun" --headless --seed 5 --ticks 420 --input "$root/games/demo/playthrough.txt" \
    --save-dir "$2/save" --dump-state "$2/state.json" "${args[@]}" "$1/games/demo"
  rm -rf "$2/save"
}

build "$gcc_build"
build "$clang_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DLUMRUN_BENCH=OFF
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
play "$gcc_build" "$out/gcc"
play "$clang_build" "$out/clang"
if diff -r "$out/gcc" "$out/clang" >/dev/null; then
  echo "compare_compilers: g++ and clang builds play the demo identically"
else
  diff -r "$out/gcc" "$out/clang" || true
  echo "compare_compilers: g++ and clang builds differ" >&2
  exit 1
fi
