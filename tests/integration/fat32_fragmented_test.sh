#!/usr/bin/env bash
# A deleted photo whose clusters are interrupted by a cluster still in use
# cannot be put back together from free space alone: it must not be written
# at all (neither its first part nor a file claiming to be the whole photo),
# while a whole deleted photo on the same volume still comes back.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel mshowfat convert exiftool flock dd
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

# forget_next_free_cluster IMAGE: clears the FSInfo hint, so that the next file
# is laid into the first free clusters, as a camera does on a card in use.
forget_next_free_cluster() {
  local image=$1 fsinfo_sector sector
  fsinfo_sector=$(boot_field "$image" 48 2)
  sector=$(boot_field "$image" 11 2)
  printf '\xff\xff\xff\xff' | dd of="$image" bs=1 seek=$(( fsinfo_sector * sector + 492 )) conv=notrunc status=none
}

image=$WORK/fragmented.img
out=$WORK/out
mkdir -p "$out"
make_fat32_image "$image" 512 4096

# old.jpg leaves a hole before note.txt; fragmented.jpg is bigger than the
# hole, so it continues after note.txt, which stays in use.
mcopy -i "$image" "$PHOTOS/jfif-large.jpg" ::/old.jpg
seq 1 100 >"$WORK/note.txt"
mcopy -i "$image" "$WORK/note.txt" ::/note.txt
mdel -i "$image" ::/old.jpg
forget_next_free_cluster "$image"
mcopy -i "$image" "$PHOTOS/exif-huge.jpg" ::/fragmented.jpg
fragments=$(mshowfat -i "$image" ::/fragmented.jpg)
[ "$(grep -o '<' <<<"$fragments" | wc -l)" = 2 ] || fail "fragmented.jpg is not in two pieces: $fragments"
fragmented_number=$(expected_file_number "$image" /fragmented.jpg)
mcopy -i "$image" "$PHOTOS/exif-medium.jpg" ::/whole.jpg
whole_number=$(expected_file_number "$image" /whole.jpg)
mdel -i "$image" ::/fragmented.jpg ::/whole.jpg

rc=$(run_scan "$image" "$out" "$WORK/scan")
[ "$rc" = 0 ] || fail "exit code $rc"$'\n'"$(show_logs "$WORK/scan")"
cmp -s "$out/$whole_number.jpg" "$PHOTOS/exif-medium.jpg" || fail "the whole deleted photo was not recovered"
[ ! -e "$out/$fragmented_number.jpg" ] || fail "the fragmented photo was written as $fragmented_number.jpg"
[ "$(count_jpgs "$out")" = 1 ] || fail "files other than the whole photo were written: $(ls "$out")"
grep -q '成功恢复1个文件$' "$WORK/scan.out" || fail "the summary does not count one file"$'\n'"$(show_logs "$WORK/scan")"
echo "ok: a fragmented photo is not written, a whole one is"
