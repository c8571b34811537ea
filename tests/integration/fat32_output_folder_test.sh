#!/usr/bin/env bash
# Output folders the program must refuse before it scans: a read-only one, and
# one on the very volume being scanned (given as the block device or as the
# image file behind it). Each gives exit code 1 with one error line, writes
# nothing and leaves the volume as it was. Needs root for mounts and loop
# devices; a case that cannot be set up here is skipped.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel convert exiftool flock sha256sum
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

MOUNTS=()
LOOP_DEVICES=()
cleanup() {
  local m d
  for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null || true; done
  for d in "${LOOP_DEVICES[@]}"; do losetup -d "$d" 2>/dev/null || true; done
}
trap cleanup EXIT

image=$WORK/volume.img
make_fat32_image "$image" 512 512
mcopy -i "$image" "$PHOTOS/jfif-medium.jpg" ::/photo.jpg
mdel -i "$image" ::/photo.jpg
chmod 644 "$image"

# Each prepare_CASE sets SOURCE, OUT and SCAN_PREFIX (a command to run the
# program through) or returns 1 with a reason on stdout when it cannot.
prepare_read_only_output() {
  SOURCE=$image OUT=$WORK/read-only SCAN_PREFIX=()
  mkdir -p "$OUT"
  if mount -t tmpfs -o ro,size=1m tmpfs "$OUT" 2>/dev/null; then
    MOUNTS+=("$OUT")
  elif command -v setpriv >/dev/null && id nobody >/dev/null 2>&1 &&
       setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null; then
    chmod 555 "$OUT"
    SCAN_PREFIX=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  else
    echo "neither a read-only mount nor another user is available"; return 1
  fi
}

# mount_volume_on_loop_device: the volume attached to a loop device and
# mounted read-write through FUSE, as a card reader's partition would be.
mount_volume_on_loop_device() {
  command -v losetup >/dev/null || { echo "no losetup"; return 1; }
  command -v fusefat >/dev/null || { echo "no fusefat"; return 1; }
  [ -e /dev/fuse ] || { echo "no /dev/fuse"; return 1; }
  LOOP=$(losetup -f --show "$image" 2>/dev/null) || { echo "no loop device available"; return 1; }
  LOOP_DEVICES+=("$LOOP")
  MOUNTED=$WORK/mounted
  mkdir -p "$MOUNTED"
  fusefat -o rw+,blkdev,fsname="$LOOP" "$LOOP" "$MOUNTED" >/dev/null 2>&1 || { echo "fusefat cannot mount"; return 1; }
  MOUNTS+=("$MOUNTED")
  mkdir -p "$MOUNTED/recovered"
}
prepare_output_on_scanned_device() {
  mount_volume_on_loop_device || return 1
  SOURCE=$LOOP OUT=$MOUNTED/recovered SCAN_PREFIX=()
}
prepare_output_inside_scanned_image() {
  [ -n "${LOOP:-}" ] || { mount_volume_on_loop_device || return 1; }
  SOURCE=$image OUT=$MOUNTED/recovered SCAN_PREFIX=()
}

# case, what the error line must say (extended regular expression)
CASES=(
  "read_only_output               Cannot write to output folder"
  "output_on_scanned_device       lies on the volume being scanned"
  "output_inside_scanned_image    lies on the volume being scanned"
)

ran=0
for row in "${CASES[@]}"; do
  read -r name pattern <<<"$row"
  if ! "prepare_$name" >"$WORK/reason"; then
    echo "skipped: $name ($(cat "$WORK/reason"))"
    continue
  fi
  sync
  before=$(sha_of "$SOURCE")
  log=$WORK/$name
  rc=0
  "${SCAN_PREFIX[@]}" "$QUORVEL" scan "$SOURCE" -o "$OUT" >"$log.out" 2>"$log.err" || rc=$?
  [ "$rc" = 1 ] || fail "$name: exit code $rc, not 1"$'\n'"$(show_logs "$log")"
  errors=$(error_lines "$log")
  [ "$(grep -c . <<<"$errors")" = 1 ] || fail "$name: not one error line"$'\n'"$(show_logs "$log")"
  grep -Eq "$pattern" <<<"$errors" || fail "$name: the error line does not say '$pattern': $errors"
  [ -z "$(ls -A "$OUT")" ] || fail "$name: something was written: $(ls -A "$OUT")"
  [ "$(sha_of "$SOURCE")" = "$before" ] || fail "$name: the scanned volume changed"
  ran=$((ran + 1))
  echo "ok: $name -> $errors"
done
[ "$ran" -gt 0 ] || skip "no case could be set up here"
