#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of
# seconds (default 60). A finding stops with a non-zero status.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/setup.sh"
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DLUMRUN_FUZZ=ON >/dev/null
# Only the fuzz targets (and the libraries they need) are built.
targets=$(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[a-z_]*\): .*/\1/p' | sort -u)
cmake --build "$build" -j "$(nproc)" --target $targets
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [[ -x "$target" ]] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [[ -d "$root/fuzz/seeds/${name#fuzz_}" ]] && seeds=("$root/fuzz/seeds/${name#fuzz_}")
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "${seeds[@]}" >"$build/$name.log" 2>&1 || {
      tail -50 "$build/$name.log"
      echo "fuzz: $name found a problem"
      exit 1
    }
done
echo "fuzz: all targets ran without findings"
