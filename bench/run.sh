#!/usr/bin/env bash
# Benchmark: one FAT32 image of at least 4 GiB, mostly deleted photos and
# other files, scanned by quorvel and by the tools a user would pick instead
# (photorec, recoverjpeg, foremost). Prints a markdown table.
#
# Usage: bench/run.sh [SCRATCH_DIR]     (default /tmp/quorvel-bench)
#   QUORVEL_BENCH_IMAGE_MIB  image size in MiB (default 4608)
#   QUORVEL_BENCH_CLUSTER_BYTES  cluster size (default 32768; the volume needs
#                            65525 clusters or more)
#   QUORVEL_BENCH_KEEP=1     keep the scratch folder afterwards
#   QUORVEL_BENCH_REUSE=1    reuse the image that a kept scratch folder holds
# Needs root for apt-get, about 2.5 × the image size of free disk, and a few
# minutes on two cores.
set -euo pipefail
export LC_ALL=C.UTF-8 MTOOLS_SKIP_CHECK=1

TOP=$(cd "$(dirname "$0")/.." && pwd)
SCRATCH=${1:-/tmp/quorvel-bench}
IMAGE_MIB=${QUORVEL_BENCH_IMAGE_MIB:-4608}
CLUSTER_BYTES=${QUORVEL_BENCH_CLUSTER_BYTES:-32768}   # what cameras put on cards of this size
POOL_SIZE=40                   # distinct photos; every copy differs by a comment
PHOTO_SHARE_PERCENT=80         # of the image filled with photos
OTHER_SHARE_PERCENT=12         # of the image filled with other files
DELETE_PHOTO_PERCENT=85
DELETE_OTHER_PERCENT=50
FILES_PER_FOLDER=200

IMAGE=$SCRATCH/card.img
say() { printf '\n== %s\n' "$*" >&2; }

install_tools() {
  local wanted=(testdisk recoverjpeg foremost time dosfstools mtools imagemagick libimage-exiftool-perl
                cmake g++ make bc)
  local missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

check_free_disk() {
  mkdir -p "$SCRATCH"
  local need_kib=$(( IMAGE_MIB * 1024 * 5 / 2 )) free_kib
  free_kib=$(df -Pk "$SCRATCH" | awk 'NR == 2 { print $4 }')
  [ "$free_kib" -ge "$need_kib" ] ||
    { echo "bench: $SCRATCH has $((free_kib / 1024)) MiB free, needs $((need_kib / 1024)) MiB" >&2; exit 1; }
}

build_quorvel() {
  say "building quorvel (release)"
  cmake -S "$TOP" -B "$SCRATCH/build" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
  cmake --build "$SCRATCH/build" -j"$(nproc)" --target quorvel >/dev/null
  QUORVEL=$SCRATCH/build/quorvel
}

# make_pool DIR: POOL_SIZE distinct photos, about 20 KB to 5 MB, half JFIF and
# half Exif with an embedded thumbnail (a large first segment).
make_pool() {
  local dir=$1 i width quality photo
  mkdir -p "$dir"
  convert -size 160x120 plasma:fractal -quality 80 "$dir/thumb.jpg"
  for ((i = 0; i < POOL_SIZE; i++)); do
    width=$(( 240 + i * 52 ))
    quality=$(( 80 + i % 16 ))
    photo=$dir/pool-$(printf %02d "$i").jpg
    convert -size "${width}x$(( width * 3 / 4 ))" gradient:"#204060-#e0c080" \
      -attenuate $(( 1 + i % 4 )) +noise Gaussian -quality "$quality" "$photo"
    if (( i % 2 )); then
      exiftool -q -overwrite_original -all= "$photo"
      exiftool -q -overwrite_original -Make=Quorvel -Model=BenchCamera "-ThumbnailImage<=$dir/thumb.jpg" "$photo"
    fi
  done
  rm -f "$dir/thumb.jpg"
}

# make_copies POOL OUT BYTES: copies of the pool photos, until about BYTES,
# each made distinct by a comment segment put right after its first segment
# (so its start, and the first segment's length, stay as they were).
make_copies() {
  perl -e '
    use strict; use warnings;
    my ($pool, $out, $budget) = @ARGV;
    my @photos = sort glob("$pool/pool-*.jpg");
    my @bytes = map { local $/; open(my $f, "<:raw", $_) or die; scalar <$f> } @photos;
    my ($made, $n) = (0, 0);
    while ($made < $budget) {
      my $data = $bytes[$n % @bytes];
      my $first_end = 4 + unpack("n", substr($data, 4, 2));
      my $text = sprintf("bench copy %06d", $n);
      my $comment = "\xFF\xFE" . pack("n", length($text) + 2) . $text;
      my $copy = substr($data, 0, $first_end) . $comment . substr($data, $first_end);
      open(my $f, ">:raw", sprintf("%s/P%06d.JPG", $out, $n)) or die;
      print $f $copy; close $f;
      $made += length $copy; $n++;
    }' "$1" "$2" "$3"
}

# make_other_files OUT BYTES: random and text files of 100 KB to 20 MB.
make_other_files() {
  local out=$1 budget=$2 made=0 n=0 size
  while [ "$made" -lt "$budget" ]; do
    size=$(( (n * 7919 % 200 + 1) * 100000 ))
    if (( n % 3 )); then
      head -c "$size" /dev/urandom >"$out/F$(printf %06d "$n").BIN"
    else
      seq 1 $(( size / 7 )) >"$out/F$(printf %06d "$n").TXT"
      truncate -s "$size" "$out/F$(printf %06d "$n").TXT"
    fi
    made=$(( made + size )); n=$(( n + 1 ))
  done
}

# percent_pick NAME PERCENT: true for about PERCENT of names, the same each run.
percent_pick() { [ $(( $(cksum <<<"$1" | cut -d' ' -f1) % 100 )) -lt "$2" ]; }

build_image() {
  local files=$SCRATCH/files image_bytes=$(( IMAGE_MIB * 1048576 ))
  rm -rf "$files" && mkdir -p "$files"
  say "making $POOL_SIZE distinct photos"
  make_pool "$SCRATCH/pool"
  say "copying them to fill ${PHOTO_SHARE_PERCENT}% of a $IMAGE_MIB MiB image, and other files"
  make_copies "$SCRATCH/pool" "$files" $(( image_bytes / 100 * PHOTO_SHARE_PERCENT ))
  make_other_files "$files" $(( image_bytes / 100 * OTHER_SHARE_PERCENT ))

  say "formatting and filling the FAT32 image"
  rm -f "$IMAGE"
  truncate -s "$image_bytes" "$IMAGE"
  mkfs.fat -F 32 -S 512 -s $(( CLUSTER_BYTES / 512 )) "$IMAGE" >/dev/null
  # Photos and other files interleaved, a camera's folders of FILES_PER_FOLDER.
  ls "$files" | shuf --random-source=<(yes) >"$SCRATCH/order.txt"
  split -l "$FILES_PER_FOLDER" -d -a 3 "$SCRATCH/order.txt" "$SCRATCH/folder-"
  : >"$SCRATCH/deleted-photos.txt"
  local list folder name deleted names
  mmd -i "$IMAGE" ::/DCIM
  for list in "$SCRATCH"/folder-*; do
    folder=::/DCIM/$(( 100 + 10#${list##*-} ))QUORV
    mmd -i "$IMAGE" "$folder"
    mapfile -t names <"$list"
    (cd "$files" && mcopy -i "$IMAGE" "${names[@]}" "$folder/")
    deleted=()
    while read -r name; do
      case $name in
        P*) percent_pick "$name" "$DELETE_PHOTO_PERCENT" || continue
            deleted+=("$folder/$name"); echo "$files/$name" >>"$SCRATCH/deleted-photos.txt" ;;
        *)  percent_pick "$name" "$DELETE_OTHER_PERCENT" && deleted+=("$folder/$name") ;;
      esac
    done <"$list"
    [ ${#deleted[@]} -eq 0 ] || mdel -i "$IMAGE" "${deleted[@]}"
  done
  rm -f "$SCRATCH"/folder-*

  # What each tool is scored against: the deleted photos, and those of them
  # whose end marker can be found by its sector (not split over a sector
  # boundary, not in a sector's first two bytes).
  xargs -a "$SCRATCH/deleted-photos.txt" sha256sum | cut -d' ' -f1 | sort -u >"$SCRATCH/deleted.sha"
  xargs -a "$SCRATCH/deleted-photos.txt" stat -c %s >"$SCRATCH/deleted-photos-sizes.txt"
  rm -rf "$files"
  touch "$SCRATCH/image.done"
}

count_files() {
  DELETED_COUNT=$(wc -l <"$SCRATCH/deleted-photos.txt")
  FINDABLE_COUNT=$(awk '$1 % 512 != 1 && $1 % 512 != 2' "$SCRATCH/deleted-photos-sizes.txt" | wc -l)
  PHOTO_COUNT=$(grep -c '^P' "$SCRATCH/order.txt")
  OTHER_COUNT=$(grep -vc '^P' "$SCRATCH/order.txt")
}

IMAGE_BYTES=0
ROWS=()

# measure KEY LABEL OUTDIR COMMAND...: wall time, peak RSS, files written and
# the deleted photos among them byte for byte; adds a table row and sets
# KEY_SECONDS, KEY_RSS_KIB and KEY_EXACT.
measure() {
  local key=$1 name=$2 out=$3; shift 3
  rm -rf "$out" && mkdir -p "$out"
  sync   # nothing left to write back from the tool before, or from making the image
  say "$name"
  /usr/bin/time -f '%e %M %U %S' -o "$SCRATCH/time.txt" "$@" >"$SCRATCH/$key.log" 2>&1 || true
  local seconds rss_kib user sys written exact
  read -r seconds rss_kib user sys < <(tail -n 1 "$SCRATCH/time.txt")   # after any "exited with" line
  written=$(find "$out" -type f -iname '*.jpg' | wc -l)
  exact=$(find "$out" -type f -iname '*.jpg' -print0 | xargs -0 -r sha256sum | cut -d' ' -f1 | sort -u |
          comm -12 - "$SCRATCH/deleted.sha" | wc -l)
  ROWS+=("| $name | $seconds | $(echo "$user + $sys" | bc) | $(throughput "$seconds") | $((rss_kib / 1024)) | $written | $exact / $DELETED_COUNT |")
  eval "${key}_SECONDS=$seconds; ${key}_RSS_KIB=$rss_kib; ${key}_EXACT=$exact"
  rm -rf "$out"
}

throughput() { echo "scale=0; $IMAGE_BYTES / 1000000 / $1" | bc 2>/dev/null || echo "-"; }

run_all() {
  cd "$SCRATCH"   # photorec writes its log into the current folder
  LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
  IMAGE_BYTES=$(stat -c %s "$IMAGE")
  say "warming the page cache"
  cat "$IMAGE" >/dev/null; cat "$IMAGE" >/dev/null
  /usr/bin/time -f '%e %M %U %S' -o "$SCRATCH/time.txt" sh -c 'cat "$1" >/dev/null' sh "$IMAGE"
  read -r cat_seconds cat_rss cat_user cat_sys <"$SCRATCH/time.txt"
  ROWS+=("| cat IMAGE > /dev/null | $cat_seconds | $(echo "$cat_user + $cat_sys" | bc) | $(throughput "$cat_seconds") | $((cat_rss / 1024)) | - | - |")

  measure quorvel quorvel "$SCRATCH/out-quorvel" "$QUORVEL" scan "$IMAGE" -o "$SCRATCH/out-quorvel"
  # The same scan with the photos written to memory: what the scan costs
  # without the disk writes that cat does not have to do.
  local shm_free_kib deleted_kib
  shm_free_kib=$(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 { print $4 }')
  deleted_kib=$(xargs -a "$SCRATCH/deleted-photos-sizes.txt" | awk '{ s = 0; for (i = 1; i <= NF; i++) s += $i; print int(s / 1024) }')
  if [ -n "$shm_free_kib" ] && [ "$shm_free_kib" -gt $(( deleted_kib * 2 )) ]; then
    measure quorvel_tmpfs "quorvel, output on tmpfs" /dev/shm/quorvel-bench-out "$QUORVEL" scan "$IMAGE" -o /dev/shm/quorvel-bench-out
  fi
  # And with an output folder that is already full: the walk and the reading
  # back of each photo, without any writing.
  local full=$SCRATCH/full-output
  mkdir -p "$full"
  if mount -t tmpfs -o size=4k tmpfs "$full" 2>/dev/null; then
    trap 'umount "$SCRATCH/full-output" 2>/dev/null || true' EXIT
    head -c 4096 /dev/zero >"$full/filler" 2>/dev/null || true
    measure quorvel_nowrite "quorvel, output folder full (nothing written)" "$full/none" \
      "$QUORVEL" scan "$IMAGE" -o "$full"
    umount "$full"
  fi
  measure photorec photorec "$SCRATCH/out-photorec" photorec /log /d "$SCRATCH/out-photorec/recup" /cmd "$IMAGE" \
    partition_none,fileopt,everything,disable,jpg,enable,freespace,search
  measure recoverjpeg recoverjpeg "$SCRATCH/out-recoverjpeg" recoverjpeg -q -o "$SCRATCH/out-recoverjpeg" "$IMAGE"
  measure foremost "foremost -t jpg" "$SCRATCH/out-foremost" foremost -Q -t jpg -i "$IMAGE" -o "$SCRATCH/out-foremost/x"

  local fat_bytes=$(( $(od -An -tu4 -j36 -N4 "$IMAGE" | tr -d ' ') * 512 ))
  local rss_limit_kib=$(( (20 + 16) * 1024 + fat_bytes / 1024 ))
  local ratio
  ratio=$(echo "scale=2; $cat_seconds / $quorvel_SECONDS" | bc)
  {
    echo "Image: $((IMAGE_BYTES / 1048576)) MiB FAT32, 512-byte sectors, $((CLUSTER_BYTES / 1024)) KiB clusters," \
         "FAT $((fat_bytes / 1024)) KiB; $PHOTO_COUNT photos ($POOL_SIZE distinct, 20 KB to 5 MB, JFIF and Exif" \
         "with thumbnail) and $OTHER_COUNT other files; $DELETED_COUNT photos deleted, $FINDABLE_COUNT of them" \
         "with an end marker findable by the detection rules. Warm page cache, $(nproc) cores," \
         "load average before the runs: $LOAD_BEFORE."
    echo
    echo "| tool | wall s | CPU s (user + sys) | MB/s of image (wall) | peak RSS MiB | .jpg files written | deleted photos recovered byte-exact |"
    echo "|---|---|---|---|---|---|---|"
    printf '%s\n' "${ROWS[@]}"
    echo
    echo "Targets:"
    echo "- throughput ≥ 0.8 × cat: quorvel/cat = $ratio → $(verdict "$(echo "$ratio >= 0.8" | bc)")"
    echo "- faster than every peer: $(verdict "$(faster_than_peers)")"
    echo "- every findable deleted photo recovered: $quorvel_EXACT of $FINDABLE_COUNT →" \
         "$(verdict "$([ "$quorvel_EXACT" -ge "$FINDABLE_COUNT" ] && echo 1 || echo 0)")"
    echo "- peak RSS < 20 MiB + FAT + 16 MiB = $((rss_limit_kib / 1024)) MiB: $((quorvel_RSS_KIB / 1024)) MiB →" \
         "$(verdict "$([ "$quorvel_RSS_KIB" -lt "$rss_limit_kib" ] && echo 1 || echo 0)")"
  } | tee "$SCRATCH/results.md"
}

verdict() { [ "$1" = 1 ] && echo met || echo "NOT met"; }
faster_than_peers() {
  local peer
  for peer in "$photorec_SECONDS" "$recoverjpeg_SECONDS" "$foremost_SECONDS"; do
    [ "$(echo "$quorvel_SECONDS < $peer" | bc)" = 1 ] || { echo 0; return; }
  done
  echo 1
}

main() {
  install_tools
  check_free_disk
  build_quorvel
  if [ "${QUORVEL_BENCH_REUSE:-0}" = 1 ] && [ -f "$SCRATCH/image.done" ]; then
    say "reusing the image of an earlier run"
  else
    build_image
  fi
  count_files
  run_all
  if [ "${QUORVEL_BENCH_KEEP:-0}" != 1 ]; then
    cp "$SCRATCH/results.md" "${TMPDIR:-/tmp}/quorvel-bench-results.md"
    rm -rf "$SCRATCH"
    echo "(results kept in ${TMPDIR:-/tmp}/quorvel-bench-results.md)" >&2
  fi
}

main
