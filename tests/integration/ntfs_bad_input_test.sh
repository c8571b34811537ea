#!/usr/bin/env bash
# Damaged NTFS volumes end the scan with a clear error and a non-zero exit
# code: no crash, no file written, the volume unchanged. Each case patches a
# copy of one real volume.
source "$(dirname "$0")/ntfs_common.sh"
QUORVEL=$1
WORK=$2
need_ntfs_tools
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

base=$WORK/base.img
make_ntfs_image "$base" 16 512 4096
mount_ntfs "$base" "$WORK/mnt"
cp "$PHOTOS/jfif-medium.jpg" "$WORK/mnt/"
rm "$WORK/mnt/jfif-medium.jpg"
unmount_ntfs "$base" "$WORK/mnt"
rc=$(scan_image "$base" "$WORK/out-base" "$WORK/scan-base")
[ "$rc" = 0 ] || fail "the undamaged volume does not scan: $(cat "$WORK/scan-base.err")"

R6=$(ntfs_record_offset "$base" 6)
R3=$(ntfs_record_offset "$base" 3)
RECORD_SIZE=$(( $(ntfs_record_offset "$base" 1) - $(ntfs_record_offset "$base" 0) ))
STD6=$(ntfs_attribute_offset "$base" "$R6" 16)
DATA6=$(ntfs_attribute_offset "$base" "$R6" 128)
VOLINFO3=$(ntfs_attribute_offset "$base" "$R3" 112)
VOLINFO3_VALUE=$(( VOLINFO3 + $(u_le "$base" $(( VOLINFO3 + 20 )) 2) ))
STD6_VALUE=$(( STD6 + $(u_le "$base" $(( STD6 + 20 )) 2) ))

# check_case NAME EXPECTED_TEXT COMMAND...: the command damages $image.
image=$WORK/case.img
check_case() {
  local name=$1 text=$2; shift 2
  cp "$base" "$image"
  "$@"
  local before out=$WORK/out-case log=$WORK/scan-case rc
  before=$(sha_of "$image")
  rm -rf "$out"
  rc=$(scan_image "$image" "$out" "$log")
  [ "$rc" = 1 ] || fail "$name: exit code $rc, expected 1"$'\n'"$(cat "$log.err")"
  grep -q "^quorvel: .*$text" "$log.err" ||
    fail "$name: no error mentioning '$text'"$'\n'"$(cat "$log.err")"
  [ "$(count_jpgs "$out")" = 0 ] || fail "$name: files were written"
  [ "$(sha_of "$image")" = "$before" ] || fail "$name: the scan changed the volume"
  echo "ok: $name: $(grep '^quorvel: ' "$log.err" | head -n1)"
}

check_case "0 bytes per sector" "bytes per sector" put_le "$image" 11 2 0
check_case "520 bytes per sector" "bytes per sector" put_le "$image" 11 2 520
check_case "0 sectors per cluster" "cluster size" put_le "$image" 13 1 0
check_case "3 sectors per cluster" "cluster size" put_le "$image" 13 1 3
check_case "record size 2^128" "file record size" put_le "$image" 64 1 128
check_case "index block size 2^100" "index block size" put_le "$image" 68 1 156
check_case "MFT past the volume" "MFT lies outside" put_le "$image" 48 8 $(( 1 << 40 ))
check_case "more sectors than the image" "truncated" put_le "$image" 40 8 $(( 1 << 30 ))
check_case "truncated image" "truncated" truncate -s 8M "$image"
check_case "record 3 without signature" "MFT record 3" put_le "$image" "$R3" 4 0
check_case "NTFS 1.2" "older than 3.0" eval 'put_le "$image" $(( VOLINFO3_VALUE + 8 )) 1 1; put_le "$image" $(( VOLINFO3_VALUE + 9 )) 1 2'
check_case "record 6 marked bad" "no FILE signature" put_le "$image" "$R6" 4 $(( 0x44414142 ))
check_case "record 6 torn in its last sector" "update sequence" put_le "$image" $(( R6 + RECORD_SIZE - 2 )) 2 $(( 0xBEEF ))
check_case "record 6 update sequence outside" "update sequence" put_le "$image" $(( R6 + 4 )) 2 $(( RECORD_SIZE - 2 ))
check_case "record 6 first attribute outside" "outside the record" put_le "$image" $(( R6 + 20 )) 2 $(( 0xFFF0 ))
check_case "record 6 attribute of length 0" "shorter than its header" put_le "$image" $(( STD6 + 4 )) 4 0
check_case "record 6 resident value outside" "damaged" put_le "$image" $(( STD6 + 16 )) 4 $(( 0x7000 ))
check_case "record 6 non-resident standard information" "damaged" put_le "$image" $(( STD6 + 8 )) 1 1
check_case "record 6 compressed" "compressed" put_le "$image" $(( STD6_VALUE + 32 )) 4 $(( 0x800 ))
check_case "record 6 encrypted" "encrypted" put_le "$image" $(( STD6_VALUE + 32 )) 4 $(( 0x4000 ))
check_case "record 6 data named" "no unnamed" put_le "$image" $(( DATA6 + 9 )) 1 1
check_case "record 6 data made resident (empty)" "empty" put_le "$image" $(( DATA6 + 8 )) 1 0
check_case "bitmap size beyond the volume" "larger than the volume needs" put_le "$image" $(( DATA6 + 48 )) 8 $(( 1 << 40 ))
check_case "bitmap longer than its runs" "could not be read" put_le "$image" $(( DATA6 + 48 )) 8 4608
check_case "zeros" "" eval 'dd if=/dev/zero of="$image" bs=1M count=16 conv=notrunc status=none'
