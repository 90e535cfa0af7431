#!/usr/bin/env bash
# Installs the Debian packages lumrun needs to build, test and play.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

# libalglib-dev (cubic splines of animation paths) has no pkg-config file:
# scene/CMakeLists.txt finds it with find_path and find_library.
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libsdl2-ttf-dev libgl1-mesa-dri libegl-dev libgles-dev
  libopenal-dev libsndfile1-dev libalglib-dev libsimpleini-dev nlohmann-json3-dev
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core fonts-wqy-microhei libgtest-dev libgmock-dev libbenchmark-dev sox
  desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
