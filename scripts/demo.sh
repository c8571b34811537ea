#!/usr/bin/env bash
# Builds Quorvel, makes demo volumes (FAT32, and NTFS where FUSE mounting
# works) with photos on them, deletes some of the photos, and recovers them
# into demo/recovered-*. Run from anywhere, as root on Debian 12.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh" demo
source "$top/tests/integration/lib/common.sh"

# report_recovered FOLDER NAME...: says which deleted photos came back byte for byte.
report_recovered() {
  local out=$1; shift
  local name got match
  for name in "$@"; do
    match=""
    for got in "$out"/*.jpg; do
      [ -e "$got" ] && cmp -s "$got" "$demo/photos/$name.jpg" && match=$(basename "$got") && break
    done
    if [ -n "$match" ]; then echo "  $name.jpg: recovered byte for byte as $match"; else echo "  $name.jpg: not recovered"; fi
  done
}

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
cmake --build "$top/build" -j"$(nproc)" >/dev/null
quorvel="$top/build/quorvel"

demo="$top/demo"
rm -rf "$demo"
mkdir -p "$demo/photos"
echo "Making demo photos..."
make_photo_set "$demo/photos"
for i in 1 2 3; do make_jfif "$demo/photos/holiday-$i.jpg" $((800 + 200 * i)) $((600 + 150 * i)); done

echo
echo "== FAT32 demo volume: 5 photos deleted, 4 kept =="
fat="$demo/fat32.img"
truncate -s 128M "$fat"
mkfs.fat -F 32 -s 2 -n QUORVELDEMO "$fat" >/dev/null
for f in "$demo"/photos/*.jpg; do mcopy -i "$fat" "$f" "::$(basename "$f")"; done
for f in jfif-small jfif-large exif-medium exif-large holiday-2; do mdel -i "$fat" "::$f.jpg"; done
mkdir -p "$demo/recovered-fat32"
"$quorvel" scan "$fat" -o "$demo/recovered-fat32"
report_recovered "$demo/recovered-fat32" jfif-small jfif-large exif-medium exif-large holiday-2

if [ -e /dev/fuse ] && command -v mkntfs >/dev/null; then
  echo
  echo "== NTFS demo volume: 4 photos deleted =="
  ntfs="$demo/ntfs.img"
  truncate -s 64M "$ntfs"
  mkntfs -q -F -f -L QUORVELDEMO "$ntfs" 2>/dev/null
  mnt=$(mktemp -d)
  if ntfs-3g "$ntfs" "$mnt" 2>/dev/null; then
    cp "$demo"/photos/*.jpg "$mnt/"
    rm "$mnt"/jfif-medium.jpg "$mnt"/exif-small.jpg "$mnt"/exif-large.jpg "$mnt"/holiday-3.jpg
    umount "$mnt"
    mkdir -p "$demo/recovered-ntfs"
    "$quorvel" scan "$ntfs" -o "$demo/recovered-ntfs" || echo "(the NTFS scan did not finish: see above)"
    report_recovered "$demo/recovered-ntfs" jfif-medium exif-small exif-large holiday-3
  else
    echo "(FUSE mounting is not available here: NTFS demo skipped)"
  fi
  rmdir "$mnt"
fi

echo
echo "Recovered photos are in $demo/recovered-*; the originals are in $demo/photos."
