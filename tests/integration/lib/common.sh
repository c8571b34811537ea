# Shared helpers of the end-to-end tests. Source it; every function fails the
# test (exit 1) on error. Exit code 77 marks a test that cannot run here.
set -euo pipefail
export MTOOLS_SKIP_CHECK=1
export LC_ALL=C.UTF-8

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }
need() { for tool in "$@"; do command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"; done; }

# make_jfif FILE WIDTH HEIGHT: a JFIF photo (APP0 first).
make_jfif() {
  convert -size "$2x$3" plasma:fractal -quality 90 "$1"
}

# make_exif FILE WIDTH HEIGHT: an Exif photo (APP1 first, no APP0) carrying an
# embedded thumbnail, so that its first segment is large.
make_exif() {
  local file=$1 thumb
  thumb=$(mktemp --suffix=.jpg)
  convert -size "$2x$3" plasma:fractal -quality 90 "$file"
  convert -size 160x120 plasma:fractal -quality 80 "$thumb"
  exiftool -q -overwrite_original -all= "$file"
  exiftool -q -overwrite_original -Make=Quorvel -Model=TestCamera "-ThumbnailImage<=$thumb" "$file"
  rm -f "$thumb"
  [ "$(head -c 4 "$file" | xxd -p)" = "ffd8ffe1" ] || fail "$file does not start with an Exif segment"
}

# make_photo_set DIR: a mix of JFIF and Exif photos from about 20 KB to a few
# MB, named jfif-*.jpg and exif-*.jpg. Made once per DIR.
make_photo_set() {
  local dir=$1
  [ -f "$dir/.done" ] && return 0
  mkdir -p "$dir"
  make_jfif "$dir/jfif-small.jpg" 200 150
  make_jfif "$dir/jfif-medium.jpg" 1024 768
  make_jfif "$dir/jfif-large.jpg" 2600 1900
  make_exif "$dir/exif-small.jpg" 320 240
  make_exif "$dir/exif-medium.jpg" 1280 960
  make_exif "$dir/exif-large.jpg" 2400 1800
  touch "$dir/.done"
}

# sha_of FILE
sha_of() { sha256sum "$1" | cut -d' ' -f1; }

# expect_recovered OUTDIR FILE...: every FILE is among the recovered files,
# byte for byte.
expect_recovered() {
  local out=$1; shift
  local want
  for want in "$@"; do
    local sum found=0
    sum=$(sha_of "$want")
    for got in "$out"/*.jpg; do
      [ -e "$got" ] || continue
      if [ "$(sha_of "$got")" = "$sum" ]; then found=1; break; fi
    done
    [ $found = 1 ] || fail "$(basename "$want") was not recovered byte-exact into $out"
  done
}

# expect_not_recovered OUTDIR FILE...: none of the FILEs was written.
expect_not_recovered() {
  local out=$1; shift
  local unwanted
  for unwanted in "$@"; do
    local sum
    sum=$(sha_of "$unwanted")
    for got in "$out"/*.jpg; do
      [ -e "$got" ] || continue
      [ "$(sha_of "$got")" != "$sum" ] || fail "$(basename "$unwanted") is allocated but was written as $got"
    done
  done
}

# count_jpgs DIR
count_jpgs() { find "$1" -maxdepth 1 -name '*.jpg' | wc -l; }

# --- FAT32 volumes and the command-line program -----------------------------

# make_big_exif FILE: an Exif photo of about 4.5 MB (noise does not compress),
# with an embedded thumbnail in its first segment.
make_big_exif() {
  local file=$1 thumb
  thumb=$(mktemp --suffix=.jpg)
  convert -size 2600x1950 xc:gray +noise Random -quality 95 "$file"
  convert -size 160x120 plasma:fractal -quality 80 "$thumb"
  exiftool -q -overwrite_original -all= "$file"
  exiftool -q -overwrite_original -Make=Quorvel -Model=NoiseCamera "-ThumbnailImage<=$thumb" "$file"
  rm -f "$thumb"
}

# A photo whose end marker FF D9 straddles a sector boundary, or sits in a
# sector's first two bytes, cannot be found by its end. Test photos are kept
# clear of that for every sector size up to 4096 by padding a comment.
ensure_end_is_findable() {
  local file=$1 pad=x
  while :; do
    case $(( $(stat -c %s "$file") % 512 )) in
      1|2) exiftool -q -overwrite_original "-Comment=$pad" "$file"; pad+=x ;;
      *) return 0 ;;
    esac
  done
}

# shared_photo_set WORK: echoes the folder of the photo set shared by the tests
# whose work folders sit beside WORK (made once, under a lock), holding
# make_photo_set's photos plus exif-huge.jpg (about 4.5 MB).
shared_photo_set() {
  local dir
  dir=$(dirname "$1")/photo-set
  mkdir -p "$dir"
  (
    flock 9
    if [ ! -f "$dir/.shared-done" ]; then
      make_photo_set "$dir"
      make_big_exif "$dir/exif-huge.jpg"
      local photo
      for photo in "$dir"/*.jpg; do ensure_end_is_findable "$photo"; done
      touch "$dir/.shared-done"
    fi
  ) 9>"$dir/.lock"
  echo "$dir"
}

# make_fat32_image IMAGE SECTOR_BYTES CLUSTER_BYTES: an empty FAT32 volume in a
# sparse file, just big enough for the 65525 clusters that mtools needs to
# treat it as FAT32.
make_fat32_image() {
  local image=$1 sector=$2 cluster=$3
  local bytes=$(( (65700 * cluster + 4 * 1024 * 1024) / 1048576 * 1048576 ))
  rm -f "$image"
  truncate -s "$bytes" "$image"
  mkfs.fat -F 32 -S "$sector" -s $(( cluster / sector )) "$image" >/dev/null 2>&1 ||
    fail "mkfs.fat could not make a FAT32 volume with $sector-byte sectors and $cluster-byte clusters"
}

# boot_field IMAGE OFFSET WIDTH: an unsigned little-endian boot-sector field.
boot_field() { od -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }

# expected_file_number IMAGE PATH: the number that the recovered copy of the
# file at PATH (inside IMAGE, still allocated) will carry: its first sector,
# counted from the end of the reserved area, plus 1982.
expected_file_number() {
  local image=$1 path=$2 cluster fats fat_sectors per_cluster
  cluster=$(mshowfat -i "$image" "::$path" | sed -n 's/.*<\([0-9]*\).*/\1/p')
  [ -n "$cluster" ] || fail "mshowfat knows no clusters of $path"
  fats=$(boot_field "$image" 16 1)
  fat_sectors=$(boot_field "$image" 36 4)
  per_cluster=$(boot_field "$image" 13 1)
  echo $(( fats * fat_sectors + per_cluster * (cluster - 2) + 1982 ))
}

# run_scan IMAGE OUTDIR LOGPREFIX: runs the program, keeping stdout in
# LOGPREFIX.out and stderr in LOGPREFIX.err; echoes the exit code.
run_scan() {
  local rc=0
  "$QUORVEL" scan "$1" -o "$2" >"$3.out" 2>"$3.err" || rc=$?
  echo "$rc"
}

# show_logs LOGPREFIX: the program's output, for a failure message.
show_logs() { printf -- '--- stdout\n%s\n--- stderr\n%s\n' "$(cat "$1.out")" "$(cat "$1.err")"; }

# error_lines LOGPREFIX: the program's own error lines on stderr.
error_lines() { grep '^quorvel: ' "$1.err" || true; }
