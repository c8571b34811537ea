#!/usr/bin/env bash
# What the NTFS branch loads equals what the Sleuth Kit reads from the same
# volume: the geometry equals fsstat's and the cluster bitmap equals the data
# of $Bitmap (icat IMAGE 6). Includes a volume grown with ntfsresize, whose
# $Bitmap was moved and enlarged, and the photos deleted on it come back.
source "$(dirname "$0")/ntfs_common.sh"
QUORVEL=$1
WORK=$2
need_ntfs_tools fsstat icat istat ntfsresize
DUMP=${QUORVEL_NTFS_DUMP:-$(dirname "$QUORVEL")/tests/quorvel_ntfs_dump}
[ -x "$DUMP" ] || fail "the dump helper $DUMP is missing"
rm -rf "$WORK" && mkdir -p "$WORK"
PHOTOS=$(shared_photo_set "$WORK")

fsstat_value() { sed -n "s/^$2: *\([0-9]*\).*/\1/p" "$1" | head -n1; }

# crosscheck IMAGE NAME
crosscheck() {
  local image=$1 name=$2 mine=$WORK/geometry.txt theirs=$WORK/fsstat.txt
  "$DUMP" "$image" geometry >"$mine" || fail "$name: the branch could not open the volume"
  fsstat "$image" >"$theirs" || fail "$name: fsstat could not read the volume"
  local key want got
  for pair in "sector_size=Sector Size" "cluster_size=Cluster Size" "mft_cluster=First Cluster of MFT" \
              "record_size=Size of MFT Entries" "index_block_size=Size of Index Records"; do
    key=${pair%%=*}
    want=$(fsstat_value "$theirs" "${pair#*=}")
    got=$(sed -n "s/^$key=//p" "$mine")
    [ -n "$want" ] && [ "$got" = "$want" ] || fail "$name: $key is $got, fsstat says ${want:-nothing}"
  done
  want=$(sed -n 's/^Total Sector Range: 0 - \([0-9]*\)/\1/p' "$theirs")
  got=$(sed -n 's/^total_sectors=//p' "$mine")
  [ "$got" = $(( want + 1 )) ] || fail "$name: total sectors $got, fsstat's range ends at $want"
  grep -q '^Version: Windows XP' "$theirs" && ! grep -q '^version=3.1$' "$mine" &&
    fail "$name: version $(sed -n 's/^version=//p' "$mine"), fsstat says 3.1"

  "$DUMP" "$image" bitmap "$WORK/bitmap.mine" || fail "$name: the bitmap could not be loaded"
  icat "$image" 6 >"$WORK/bitmap.tsk" || fail "$name: icat could not read \$Bitmap"
  cmp -s "$WORK/bitmap.mine" "$WORK/bitmap.tsk" || fail "$name: the loaded bitmap differs from icat's"
  echo "ok: $name: geometry and $(stat -c %s "$WORK/bitmap.mine")-byte bitmap agree with the Sleuth Kit"
}

# fill IMAGE: files written and some deleted, so that the bitmap has holes.
fill() {
  local mnt=$WORK/mnt i
  mount_ntfs "$1" "$mnt"
  for i in $(seq 1 60); do head -c $(( i * 3000 )) /dev/urandom >"$mnt/file$i"; done
  for i in $(seq 1 60 3); do rm "$mnt/file$i"; done
  unmount_ntfs "$1" "$mnt"
}

for geometry in "512 512" "512 4096" "4096 4096" "512 65536"; do
  read -r sector cluster <<<"$geometry"
  image=$WORK/ntfs-$sector-$cluster.img
  make_ntfs_image "$image" 32 "$sector" "$cluster"
  fill "$image"
  crosscheck "$image" "${sector}-byte sectors, ${cluster}-byte clusters"
  rm -f "$image"
done

# A volume grown from 24 MiB to 200 MiB: $Bitmap grows into clusters that
# were free, behind files of the smaller volume.
image=$WORK/grown.img
make_ntfs_image "$image" 24 512 512
mnt=$WORK/mnt
mount_ntfs "$image" "$mnt"
for i in $(seq 1 200); do head -c 40000 /dev/urandom >"$mnt/file$i"; done
for i in $(seq 1 200 2); do rm "$mnt/file$i"; done
unmount_ntfs "$image" "$mnt"
truncate -s 200M "$image"
ntfsresize -f -f -s 199M "$image" >/dev/null 2>&1 || fail "ntfsresize could not grow the volume"
mount_ntfs "$image" "$mnt"
head -c 30000000 /dev/urandom >"$mnt/filler"
cp "$PHOTOS/jfif-medium.jpg" "$PHOTOS/exif-large.jpg" "$mnt/"
sync
rm "$mnt/jfif-medium.jpg" "$mnt/exif-large.jpg"
unmount_ntfs "$image" "$mnt"
pieces=$(istat "$image" 6 | sed -n '/^Type: \$DATA/,$p' | tail -n +2 | tr -s ' ' '\n' | grep -E '^[0-9]+$' |
  awk 'NR > 1 && $1 != last + 1 { n++ } { last = $1 } END { print n + 1 }')
echo "the grown volume's \$Bitmap is in $pieces piece(s)"
crosscheck "$image" "grown volume"
before=$(sha_of "$image")
rc=$(scan_image "$image" "$WORK/out-grown" "$WORK/scan-grown")
[ "$rc" = 0 ] || fail "grown volume: exit code $rc: $(cat "$WORK/scan-grown.err")"
[ "$(sha_of "$image")" = "$before" ] || fail "grown volume: the scan changed the volume"
expect_recovered "$WORK/out-grown" "$PHOTOS/jfif-medium.jpg" "$PHOTOS/exif-large.jpg"
echo "ok: grown volume: deleted photos recovered"
