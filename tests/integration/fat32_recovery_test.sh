#!/usr/bin/env bash
# Deleted photos on real FAT32 volumes come back byte-exact under the name
# their first sector gives; photos still in use are not written; the volume is
# not changed by the scan. One volume per sector and cluster size.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel mshowfat convert exiftool flock sha256sum
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

# sector bytes, cluster bytes, checksum the whole volume (slow on the 4 GiB
# sparse volumes that 64 KiB clusters need)
GEOMETRIES=(
  "512   512   yes"
  "512   4096  yes"
  "512   65536 no"
  "4096  4096  yes"
  "4096  65536 no"
)

DELETED=(jfif-small.jpg exif-medium.jpg jfif-large.jpg exif-huge.jpg exif-small.jpg)
KEPT=(jfif-medium.jpg exif-large.jpg)

# fill_volume IMAGE: photos and other files, interleaved, then the photos to
# recover and a text file are deleted. Prints "NUMBER NAME" for each deleted photo.
fill_volume() {
  local image=$1
  head -c 300000 /dev/urandom >"$WORK/noise.bin"
  seq 1 20000 >"$WORK/notes.txt"
  mmd -i "$image" ::/DCIM
  mcopy -i "$image" "$PHOTOS/${KEPT[0]}" "$PHOTOS/${DELETED[0]}" "$WORK/noise.bin" \
    "$PHOTOS/${DELETED[1]}" "$PHOTOS/${DELETED[2]}" "$WORK/notes.txt" ::/DCIM/
  mcopy -i "$image" "$PHOTOS/${DELETED[3]}" "$PHOTOS/${KEPT[1]}" "$PHOTOS/${DELETED[4]}" ::/
  local name path
  for name in "${DELETED[@]}"; do
    path=$(mdir -b -i "$image" ::/ ::/DCIM | grep -i "/$name\$" || true)
    [ -n "$path" ] || fail "$name was not copied onto the volume"
    path=${path#::}
    echo "$(expected_file_number "$image" "$path") $name"
    mdel -i "$image" "::$path"
  done
  mdel -i "$image" ::/DCIM/notes.txt
}

for geometry in "${GEOMETRIES[@]}"; do
  read -r sector cluster checksum <<<"$geometry"
  case_name="${sector}-byte sectors, ${cluster}-byte clusters"
  image=$WORK/fat32-$sector-$cluster.img
  out=$WORK/out-$sector-$cluster
  log=$WORK/scan-$sector-$cluster
  mkdir -p "$out"
  make_fat32_image "$image" "$sector" "$cluster"
  fill_volume "$image" >"$WORK/expected.txt"
  [ "$checksum" = yes ] && before=$(sha_of "$image")

  rc=$(run_scan "$image" "$out" "$log")
  [ "$rc" = 0 ] || fail "$case_name: exit code $rc"$'\n'"$(show_logs "$log")"

  while read -r number name; do
    [ -f "$out/$number.jpg" ] || fail "$case_name: deleted $name was not written as $number.jpg; got: $(ls "$out")"
    cmp -s "$out/$number.jpg" "$PHOTOS/$name" || fail "$case_name: $number.jpg differs from $name"
  done <"$WORK/expected.txt"
  kept_paths=()
  for name in "${KEPT[@]}"; do kept_paths+=("$PHOTOS/$name"); done
  expect_not_recovered "$out" "${kept_paths[@]}"
  [ "$(count_jpgs "$out")" = "${#DELETED[@]}" ] || fail "$case_name: unexpected files written: $(ls "$out")"
  grep -q "^扫描完成: 用时[0-9]*秒,成功恢复${#DELETED[@]}个文件\$" "$log.out" ||
    fail "$case_name: no summary of ${#DELETED[@]} files"$'\n'"$(show_logs "$log")"
  if [ "$checksum" = yes ]; then
    [ "$(sha_of "$image")" = "$before" ] || fail "$case_name: the scan changed the volume"
  fi
  rm -f "$image"
  echo "ok: $case_name"
done
