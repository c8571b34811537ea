#!/usr/bin/env bash
# An output folder that fills up during writing: the photos that fit are
# stored whole, the others are named as not stored, the summary counts only
# the stored ones and the exit code is 3. Needs root to mount a small tmpfs.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel mshowfat convert exiftool flock
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

out=$WORK/small-disk
mkdir -p "$out"
mount -t tmpfs -o size=200k tmpfs "$out" 2>/dev/null || skip "cannot mount a tmpfs here (needs root)"
trap 'umount "$out" 2>/dev/null || true' EXIT

# The small photo is found first and fits; the two big ones do not.
image=$WORK/volume.img
make_fat32_image "$image" 512 4096
mcopy -i "$image" "$PHOTOS/jfif-small.jpg" ::/fits.jpg
mcopy -i "$image" "$PHOTOS/jfif-large.jpg" ::/big.jpg
mcopy -i "$image" "$PHOTOS/exif-huge.jpg" ::/huge.jpg
fits=$(expected_file_number "$image" /fits.jpg)
big=$(expected_file_number "$image" /big.jpg)
huge=$(expected_file_number "$image" /huge.jpg)
mdel -i "$image" ::/fits.jpg ::/big.jpg ::/huge.jpg

log=$WORK/scan
rc=$(run_scan "$image" "$out" "$log")
[ "$rc" = 3 ] || fail "exit code $rc, not 3"$'\n'"$(show_logs "$log")"
cmp -s "$out/$fits.jpg" "$PHOTOS/jfif-small.jpg" || fail "the photo that fits was not stored whole"
grep -q '^扫描完成: 用时[0-9]*秒,成功恢复1个文件$' "$log.out" ||
  fail "the summary does not count exactly the one stored photo"$'\n'"$(show_logs "$log")"
for number in "$big" "$huge"; do
  grep -q "/$number\.jpg" "$log.out" "$log.err" || fail "$number.jpg is not named as not stored"$'\n'"$(show_logs "$log")"
done
! grep -q "/$fits\.jpg" "$log.out" "$log.err" || fail "the stored $fits.jpg is named as a failure"$'\n'"$(show_logs "$log")"
# Nothing that was not stored whole keeps a photo's name: an empty file is
# removed, a part is set aside as NUMBER.jpg.incomplete.
for number in "$big" "$huge"; do
  [ ! -e "$out/$number.jpg" ] || fail "$number.jpg was not stored whole but keeps a photo's name"
done
grep -q '^quorvel: 2 found photo(s) could not be stored' "$log.err" ||
  fail "stderr does not say that two photos could not be stored"$'\n'"$(show_logs "$log")"
echo "ok: a full output disk gives exit code 3 and names the photos not stored"
