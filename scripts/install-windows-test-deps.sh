#!/usr/bin/env bash
# Installs what building the Windows programs and testing them under wine
# needs on Debian 12 (as root). Safe to run again: installs only what is
# missing.
set -euo pipefail

packages=(cmake make g++ g++-mingw-w64-i686 googletest wine wine32:i386 xvfb x11-utils fonts-wqy-microhei
          imagemagick libimage-exiftool-perl xxd mtools dosfstools ntfs-3g fuse3)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  [ ${#missing[@]} -eq 0 ] || apt-get install -y -q "${missing[@]}"
fi
