#!/usr/bin/env bash
# Sources that are not a readable FAT32 volume, and a missing output folder:
# exit code 1 with one error line naming the problem, no crash, nothing
# written into the output folder and the source left as it was.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel convert exiftool flock sha256sum
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

# A small valid volume holding one deleted photo: each case spoils a copy.
template=$WORK/template.img
make_fat32_image "$template" 512 512
mcopy -i "$template" "$PHOTOS/jfif-medium.jpg" ::/photo.jpg
mdel -i "$template" ::/photo.jpg

# make_SOURCE IMAGE: each writes the source of one case.
make_missing_source() { rm -f "$1"; }
make_truncated_in_fat() { cp --sparse=always "$template" "$1" && truncate -s 64K "$1"; }
# The FAT is whole but the data area is cut short: photos past the cut would
# be missed without a word.
make_truncated_in_data() { cp --sparse=always "$template" "$1" && truncate -s $(( $(stat -c %s "$template") / 2 )) "$1"; }
make_zeroed_boot_sector() {
  cp --sparse=always "$template" "$1"
  dd if=/dev/zero of="$1" bs=512 count=1 conv=notrunc status=none
}
# An MBR with one FAT32 partition entry, as a whole card or disk starts.
make_whole_disk() {
  truncate -s 8M "$1"
  printf '\x0c' | dd of="$1" bs=1 seek=450 conv=notrunc status=none
  printf '\x55\xaa' | dd of="$1" bs=1 seek=510 conv=notrunc status=none
}
make_ext2() { truncate -s 16M "$1" && mke2fs -q -F "$1"; }
make_exfat() { truncate -s 64M "$1" && mkfs.exfat "$1" >/dev/null; }
make_random_bytes() { head -c 4M /dev/urandom >"$1"; }
make_too_small() { head -c 300 /dev/urandom >"$1"; }
make_directory() { mkdir -p "$1"; }

# case, source maker, output folder (missing or present), what the error line
# must say (extended regular expression)
CASES=(
  "missing-source    make_missing_source      present  Cannot find"
  "truncated-image   make_truncated_in_fat    present  truncated"
  "truncated-data    make_truncated_in_data   present  truncated"
  "zeroed-boot       make_zeroed_boot_sector  present  Not a FAT32 volume"
  "whole-disk        make_whole_disk          present  whole disk with a partition table"
  "ext2-volume       make_ext2                present  Not a FAT32 volume"
  "exfat-volume      make_exfat               present  Not a FAT32 volume"
  "random-bytes      make_random_bytes        present  Not a FAT32 volume"
  "too-small         make_too_small           present  too small"
  "directory         make_directory           present  neither a block device nor"
  "missing-output    cp_template              missing  Output folder"
)
cp_template() { cp --sparse=always "$template" "$1"; }

for row in "${CASES[@]}"; do
  read -r name maker output_state pattern <<<"$row"
  case $name in
    ext2-volume) command -v mke2fs >/dev/null || { echo "skipped: $name (no mke2fs)"; continue; } ;;
    exfat-volume) command -v mkfs.exfat >/dev/null || { echo "skipped: $name (no mkfs.exfat)"; continue; } ;;
  esac
  source_path=$WORK/$name.img
  out=$WORK/out-$name
  log=$WORK/$name
  "$maker" "$source_path"
  if [ "$output_state" = present ]; then mkdir -p "$out"; fi
  before=$( [ -f "$source_path" ] && sha_of "$source_path" || echo none)

  rc=$(run_scan "$source_path" "$out" "$log")
  [ "$rc" = 1 ] || fail "$name: exit code $rc, not 1"$'\n'"$(show_logs "$log")"
  errors=$(error_lines "$log")
  [ "$(grep -c . <<<"$errors")" = 1 ] || fail "$name: not one error line"$'\n'"$(show_logs "$log")"
  grep -Eq "$pattern" <<<"$errors" || fail "$name: the error line does not say '$pattern': $errors"
  after=$( [ -f "$source_path" ] && sha_of "$source_path" || echo none)
  [ "$after" = "$before" ] || fail "$name: the source changed"
  if [ -d "$out" ]; then
    [ -z "$(ls -A "$out")" ] || fail "$name: something was written: $(ls -A "$out")"
  fi
  [ ! -e "$WORK/out-missing-output" ] || fail "$name: the missing output folder was created"
  rm -rf "$source_path"
  echo "ok: $name -> $errors"
done
