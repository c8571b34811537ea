#!/usr/bin/env bash
# Installs what building, the demo and the tests need on Debian 12 (as root).
# Usage: install-deps.sh build|demo|test
set -euo pipefail
what=${1:-build}

build_packages=(cmake g++ make pkg-config)
demo_packages=(dosfstools mtools ntfs-3g imagemagick libimage-exiftool-perl xxd)
test_packages=(googletest libgtest-dev clang libclang-rt-14-dev sleuthkit fuse3 util-linux time rsync e2fsprogs strace fusefat exfatprogs)

packages=("${build_packages[@]}")
case "$what" in
  build) ;;
  demo) packages+=("${demo_packages[@]}") ;;
  test) packages+=("${demo_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 build|demo|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
