#!/usr/bin/env bash
# Deleted photos on real NTFS volumes come back byte-exact; photos still in
# use are not written; the volume is not changed by the scan. One volume per
# sector and cluster size, from 512-byte to 64 KiB clusters.
source "$(dirname "$0")/ntfs_common.sh"
QUORVEL=$1
WORK=$2
need_ntfs_tools
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

GEOMETRIES=(
  "512  512"
  "512  1024"
  "512  4096"
  "512  16384"
  "512  65536"
  "4096 4096"
  "4096 65536"
)
DELETED=(jfif-small.jpg exif-medium.jpg jfif-large.jpg exif-huge.jpg exif-small.jpg)
KEPT=(jfif-medium.jpg exif-large.jpg)

for geometry in "${GEOMETRIES[@]}"; do
  read -r sector cluster <<<"$geometry"
  name="${sector}-byte sectors, ${cluster}-byte clusters"
  image=$WORK/ntfs-$sector-$cluster.img
  mnt=$WORK/mnt-$sector-$cluster
  out=$WORK/out-$sector-$cluster
  log=$WORK/scan-$sector-$cluster
  make_ntfs_image "$image" 48 "$sector" "$cluster"

  # Photos, to keep and to delete, interleaved with other files.
  mount_ntfs "$image" "$mnt"
  mkdir -p "$mnt/DCIM"
  head -c 300000 /dev/urandom >"$mnt/DCIM/noise.bin"
  cp "$PHOTOS/${KEPT[0]}" "$PHOTOS/${DELETED[0]}" "$PHOTOS/${DELETED[1]}" "$mnt/DCIM/"
  seq 1 20000 >"$mnt/notes.txt"
  cp "$PHOTOS/${DELETED[2]}" "$PHOTOS/${KEPT[1]}" "$PHOTOS/${DELETED[3]}" "$PHOTOS/${DELETED[4]}" "$mnt/"
  sync
  for photo in "${DELETED[@]}"; do rm -f "$mnt/$photo" "$mnt/DCIM/$photo"; done
  rm "$mnt/notes.txt"
  unmount_ntfs "$image" "$mnt"

  before=$(sha_of "$image")
  rc=$(scan_image "$image" "$out" "$log")
  [ "$rc" = 0 ] || fail "$name: exit code $rc: $(cat "$log.err")"
  [ "$(sha_of "$image")" = "$before" ] || fail "$name: the scan changed the volume"
  for photo in "${DELETED[@]}"; do expect_recovered "$out" "$PHOTOS/$photo"; done
  for photo in "${KEPT[@]}"; do expect_not_recovered "$out" "$PHOTOS/$photo"; done
  cat "$log.out" "$log.err" | grep -q '正在搜索' || fail "$name: the searching title was not shown"
  echo "ok: $name: $(count_jpgs "$out") photo(s) recovered"
  rm -f "$image"
done
