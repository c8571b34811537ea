#!/usr/bin/env bash
# Makes the seed corpora from real structures: volumes made with mkntfs
# (files written, fragmented and given many named streams through ntfs-3g)
# and mkfs.fat. Needs root for the FUSE mount. Usage: fuzz/make_seeds.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'mountpoint -q "$work/mnt" && umount "$work/mnt"; rm -rf "$work"' EXIT
corpus="$repo/fuzz/corpus"
mkdir -p "$corpus"/{ntfs_boot_sector,ntfs_file_record,ntfs_data_runs,fat32_volume} "$work/mnt"

for geometry in "512 512" "512 4096" "512 65536" "4096 4096"; do
  set -- $geometry
  img="$work/ntfs-$1-$2.img"
  truncate -s 16M "$img"
  mkntfs -F -Q -q -s "$1" -c "$2" "$img" >/dev/null 2>&1
  if [ "$1" = 512 ] && [ "$2" = 4096 ]; then
    ntfs-3g -o streams_interface=xattr "$img" "$work/mnt"
    # A file with many small pieces (fragmented), and one with so many named
    # streams that its attributes spill into an extension record.
    for i in $(seq 1 40); do head -c 5000 /dev/urandom > "$work/mnt/f$i"; done
    for i in $(seq 1 40 2); do rm "$work/mnt/f$i"; done
    head -c 150000 /dev/urandom > "$work/mnt/fragmented"
    touch "$work/mnt/streams"
    for i in $(seq 1 120); do setfattr -n "user.stream$i" -v "value$i" "$work/mnt/streams" 2>/dev/null || true; done
    umount "$work/mnt"
  fi
done
mkfs_fat_img() {
  truncate -s 40M "$2"
  mkfs.fat -F 32 -S "$1" -s 1 "$2" >/dev/null
}
mkfs_fat_img 512 "$work/fat-512.img"
mkfs_fat_img 4096 "$work/fat-4096.img"

python3 - "$work" "$corpus" <<'PY'
import glob, os, struct, sys
work, corpus = sys.argv[1], sys.argv[2]

def geometry(img):
    b = open(img, 'rb').read(512)
    bps, spc = struct.unpack_from('<HB', b, 11)
    mft = struct.unpack_from('<Q', b, 48)[0]
    v = struct.unpack_from('<b', b, 64)[0]
    cluster = bps * spc
    rec = v * cluster if v > 0 else 1 << -v
    return bps, cluster, mft * cluster, rec

def records(img, count):
    bps, cluster, mft, rec = geometry(img)
    with open(img, 'rb') as f:
        f.seek(mft)
        return [f.read(rec) for _ in range(count)], bps, rec

def unfixup(r, bps):
    r = bytearray(r)
    usa = struct.unpack_from('<H', r, 4)[0]
    for i in range(len(r) // bps):
        r[i * bps + bps - 2:i * bps + bps] = r[usa + 2 + 2 * i:usa + 4 + 2 * i]
    return bytes(r)

def attributes(r):
    at = struct.unpack_from('<H', r, 0x14)[0]
    while at + 8 <= len(r):
        t, l = struct.unpack_from('<II', r, at)
        if t == 0xFFFFFFFF or l < 16 or at + l > len(r):
            break
        yield t, r[at:at + l]
        at += l

def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)

for img in sorted(glob.glob(os.path.join(work, 'ntfs-*.img'))):
    tag = os.path.basename(img)[5:-4]
    bps, cluster, mft, rec = geometry(img)
    with open(img, 'rb') as f:
        head = f.read(mft + 8 * rec)
    if mft <= 65536:
        write(f'{corpus}/ntfs_boot_sector/{tag}', head)
    else:
        write(f'{corpus}/ntfs_boot_sector/{tag}-boot-only', head[:512])
    if tag != '512-4096':
        continue
    recs, bps, rec = records(img, 64)
    mftbytes = b''.join(recs)
    for sel, mask in [(0, 0), (3, 1), (6, 0), (5, 2), (9, 2), (11, 2), (2, 3), (8, 4), (7, 9)]:
        write(f'{corpus}/ntfs_file_record/rec{sel}-mask{mask}', bytes([sel, mask]) + mftbytes[:24 * 1024])
    # Records of files (16 and above) that carry an attribute list or many runs.
    n = 0
    for i, r in enumerate(recs):
        if i < 16 or r[:4] != b'FILE':
            continue
        kinds = {t for t, _ in attributes(unfixup(r, bps))}
        if 0x20 in kinds or n < 2:
            write(f'{corpus}/ntfs_file_record/file{i}', bytes([i % 40, 2]) + mftbytes[:40 * 1024])
            n += 1
    seen = 0
    for i, r in enumerate(recs):
        if r[:4] != b'FILE':
            continue
        for t, a in attributes(unfixup(r, bps)):
            if a[8] == 0:
                continue
            req = struct.pack('<IH', 0, 4096) + struct.pack('<IH', 100, 3000) + struct.pack('<IH', 5000, 40000)
            write(f'{corpus}/ntfs_data_runs/rec{i}-type{t:x}', struct.pack('<H', len(a)) + a + req)
            seen += 1
for img in sorted(glob.glob(os.path.join(work, 'fat-*.img'))):
    b = open(img, 'rb').read(512)
    bps = struct.unpack_from('<H', b, 11)[0]
    reserved = struct.unpack_from('<H', b, 14)[0]
    fatsz = struct.unpack_from('<I', b, 36)[0]
    with open(img, 'rb') as f:
        data = f.read((reserved + fatsz) * bps)
    write(f'{corpus}/fat32_volume/{os.path.basename(img)[:-4]}', data)
PY
du -sh "$corpus"/*
