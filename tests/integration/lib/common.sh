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
