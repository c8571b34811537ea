#!/usr/bin/env bash
# Ctrl-C during a scan. strace delivers SIGINT at a fixed read of the volume,
# so the moment is exact rather than a race with the scan:
#  - once, after photos were found: the scan stops, the photos found so far
#    are written and the summary is captioned 扫描终止 (exit 0);
#  - twice before the walk ends: abort, nothing written (exit 130);
#  - once, before anything was found: abort, nothing written (exit 130).
# The volume is read as the boot sector, the FAT, then one read per chunk of
# free clusters (20 MB here); the first photos lie in the first chunk and one
# more photo lies about 200 MB further on.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
need mkfs.fat mcopy mdel mshowfat convert exiftool flock strace
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

image=$WORK/volume.img
make_fat32_image "$image" 512 4096
mcopy -i "$image" "$PHOTOS/jfif-medium.jpg" ::/early1.jpg
mcopy -i "$image" "$PHOTOS/exif-small.jpg" ::/early2.jpg
truncate -s 180M "$WORK/zeros.bin"
mcopy -i "$image" "$WORK/zeros.bin" ::/zeros.bin
rm -f "$WORK/zeros.bin"
mcopy -i "$image" "$PHOTOS/exif-medium.jpg" ::/late.jpg
early1=$(expected_file_number "$image" /early1.jpg)
early2=$(expected_file_number "$image" /early2.jpg)
late=$(expected_file_number "$image" /late.jpg)
mdel -i "$image" ::/early1.jpg ::/early2.jpg ::/zeros.bin ::/late.jpg

# case, the volume's reads (lseek, read) at whose start SIGINT arrives
# (8 = in the middle of the walk, long after the first chunk; 3 = the first
# chunk, before anything is found), expected exit code
CASES=(
  "stop_after_find        lseek:8         0"
  "abort_twice            lseek:8,read:8  130"
  "abort_before_any_find  lseek:3         130"
)

for row in "${CASES[@]}"; do
  read -r name signals want_rc <<<"$row"
  out=$WORK/out-$name
  log=$WORK/$name
  mkdir -p "$out"
  injections=()
  IFS=, read -r -a points <<<"$signals"
  for point in "${points[@]}"; do
    injections+=(-e "inject=${point%%:*}:signal=SIGINT:when=${point##*:}")
  done
  rc=0
  # A leak checker cannot run under ptrace; the other tests check for leaks.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 strace -o /dev/null -P "$image" -e trace=lseek,read "${injections[@]}" \
    "$QUORVEL" scan "$image" -o "$out" >"$log.out" 2>"$log.err" || rc=$?
  [ "$rc" = "$want_rc" ] || fail "$name: exit code $rc, not $want_rc"$'\n'"$(show_logs "$log")"
  if [ "$want_rc" = 0 ]; then
    grep -q '^扫描终止: 用时[0-9]*秒,成功恢复2个文件$' "$log.out" ||
      fail "$name: no summary of a stopped scan with 2 files"$'\n'"$(show_logs "$log")"
    cmp -s "$out/$early1.jpg" "$PHOTOS/jfif-medium.jpg" || fail "$name: early1 was not written whole"
    cmp -s "$out/$early2.jpg" "$PHOTOS/exif-small.jpg" || fail "$name: early2 was not written whole"
    [ ! -e "$out/$late.jpg" ] || fail "$name: the scan went on past the stop and found the late photo"
    [ "$(count_jpgs "$out")" = 2 ] || fail "$name: unexpected files: $(ls "$out")"
  else
    [ -z "$(ls -A "$out")" ] || fail "$name: files were written: $(ls -A "$out")"
    ! grep -q '扫描' "$log.out" || fail "$name: a summary was shown"$'\n'"$(show_logs "$log")"
    grep -q '^quorvel: scan aborted' "$log.err" || fail "$name: no word of the abort"$'\n'"$(show_logs "$log")"
  fi
  echo "ok: $name"
done
