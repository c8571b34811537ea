#!/usr/bin/env bash
# Builds the fuzz targets with clang++ and libFuzzer, apart from the main
# build. Usage: fuzz/build.sh [BUILD_DIR]   (default: build-fuzz beside fuzz/)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$repo/build-fuzz}
cxx=${CXX_FUZZ:-clang++}
flags=(-std=c++17 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer -Wall -Wextra -I"$repo")
mkdir -p "$out/obj"

sources=("$repo"/platform/*.cpp "$repo"/platform/posix/*.cpp "$repo"/ntfs/*.cpp "$repo"/volume/*.cpp
         "$repo"/tests/support/in_memory_volume.cpp "$repo"/tests/support/ntfs_image_builder.cpp)
objects=()
for src in "${sources[@]}"; do
  obj="$out/obj/$(echo "${src#$repo/}" | tr '/' '_').o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ "$0" -nt "$obj" ] || \
     [ -n "$(find "$repo/ntfs" "$repo/volume" "$repo/platform" "$repo/tests/support" -name '*.h' -newer "$obj" -print -quit)" ]; then
    "$cxx" "${flags[@]}" -c "$src" -o "$obj"
  fi
  objects+=("$obj")
done

for target in "$repo"/fuzz/*_fuzzer.cpp; do
  name=$(basename "$target" .cpp)
  "$cxx" "${flags[@]}" -fsanitize=fuzzer "$target" "${objects[@]}" -o "$out/$name"
  echo "built $out/$name"
done
