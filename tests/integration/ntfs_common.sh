# Helpers of the NTFS end-to-end tests: real volumes made with mkntfs, filled
# through an ntfs-3g FUSE mount, and byte patches of their structures. Source
# it after setting QUORVEL and WORK.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

# need_ntfs_tools: skips (exit 77, with the reason) where volumes cannot be
# made and mounted.
need_ntfs_tools() {
  need mkntfs ntfs-3g convert exiftool sha256sum od dd flock "$@"
  [ "$(id -u)" = 0 ] || skip "mounting NTFS volumes with ntfs-3g needs root"
  [ -e /dev/fuse ] || skip "/dev/fuse is missing: ntfs-3g cannot mount volumes here"
}

NTFS_MOUNTS=()
unmount_all_ntfs() {
  local dir
  for dir in "${NTFS_MOUNTS[@]}"; do mountpoint -q "$dir" && umount "$dir"; done
  return 0
}
trap unmount_all_ntfs EXIT

# make_ntfs_image IMAGE MEGABYTES SECTOR_BYTES CLUSTER_BYTES
make_ntfs_image() {
  rm -f "$1"
  truncate -s "$2M" "$1"
  mkntfs -F -Q -q -s "$3" -c "$4" "$1" >/dev/null 2>&1 ||
    fail "mkntfs could not make a volume with $3-byte sectors and $4-byte clusters"
}

# mount_ntfs IMAGE DIR / unmount_ntfs DIR
mount_ntfs() {
  mkdir -p "$2"
  ntfs-3g "$1" "$2" || fail "ntfs-3g could not mount $1"
  NTFS_MOUNTS+=("$2")
}
unmount_ntfs() { sync; umount "$2" 2>/dev/null || umount "$1"; }

# u_le FILE OFFSET WIDTH: an unsigned little-endian field.
u_le() { od -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }

# put_le FILE OFFSET WIDTH VALUE: writes a little-endian field in place.
put_le() {
  local file=$1 offset=$2 width=$3 value=$4 bytes="" i
  for ((i = 0; i < width; i++)); do
    bytes+=$(printf '\\x%02x' $(( (value >> (8 * i)) & 255 )))
  done
  printf "$bytes" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

# ntfs_record_offset IMAGE N: the byte offset of MFT record N (N below 16).
ntfs_record_offset() {
  local sector spc cluster mft v record
  sector=$(u_le "$1" 11 2)
  spc=$(u_le "$1" 13 1)
  cluster=$(( sector * spc ))
  mft=$(u_le "$1" 48 8)
  v=$(od -An -td1 -j64 -N1 "$1" | tr -d ' ')
  if [ "$v" -gt 0 ]; then record=$(( v * cluster )); else record=$(( 1 << -v )); fi
  echo $(( mft * cluster + $2 * record ))
}

# ntfs_attribute_offset IMAGE RECORD_OFFSET TYPE: the offset of the first
# attribute of TYPE in the record (after fix-up words are ignored; the
# headers patched here lie clear of sector ends).
ntfs_attribute_offset() {
  local image=$1 record=$2 type=$3 at t len
  at=$(( record + $(u_le "$image" $(( record + 20 )) 2) ))
  while :; do
    t=$(u_le "$image" "$at" 4)
    [ "$t" != 4294967295 ] || fail "no attribute of type $type in the record at $record"
    len=$(u_le "$image" $(( at + 4 )) 4)
    [ "$t" = "$type" ] && { echo "$at"; return 0; }
    [ "$len" -ge 16 ] || fail "damaged attribute walk at $at"
    at=$(( at + len ))
  done
}

# scan_image IMAGE OUTDIR LOG: runs the program; echoes its exit code.
scan_image() {
  local rc=0
  mkdir -p "$2"
  "$QUORVEL" scan "$1" -o "$2" >"$3.out" 2>"$3.err" || rc=$?
  echo "$rc"
}
