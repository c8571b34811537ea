#include "tests/support/ntfs_image_builder.h"

#include <cstring>

namespace {

size_t Align8(size_t v) { return (v + 7) / 8 * 8; }

size_t ByteWidth(uint64_t v) {
  size_t n = 1;
  while (n < 8 && (v >> (8 * n)) != 0) ++n;
  return n;
}

}  // namespace

void PutU16(Bytes& b, size_t at, uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(Bytes& b, size_t at, uint32_t v) {
  PutU16(b, at, static_cast<uint16_t>(v));
  PutU16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

void PutU64(Bytes& b, size_t at, uint64_t v) {
  PutU32(b, at, static_cast<uint32_t>(v));
  PutU32(b, at + 4, static_cast<uint32_t>(v >> 32));
}

Bytes Utf16(const std::u16string& text) {
  Bytes out;
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

Bytes MakeNtfsBootSector(const NtfsBootFields& f) {
  Bytes b(512, 0);
  b[0] = 0xEB;
  b[1] = 0x52;
  b[2] = 0x90;
  std::memcpy(&b[3], f.oem, 8);
  PutU16(b, 11, f.bytesPerSector);
  b[13] = f.sectorsPerCluster;
  b[21] = 0xF8;
  PutU64(b, 40, f.totalSectors);
  PutU64(b, 48, f.mftCluster);
  PutU64(b, 56, f.totalSectors / 2 / (f.sectorsPerCluster ? f.sectorsPerCluster : 1));
  b[64] = static_cast<uint8_t>(f.clustersPerRecord);
  b[68] = static_cast<uint8_t>(f.clustersPerIndexBlock);
  b[510] = 0x55;
  b[511] = 0xAA;
  return b;
}

Bytes StdInfoValue(uint32_t fileFlags) {
  Bytes v(0x48, 0);
  PutU32(v, 0x20, fileFlags);
  return v;
}

Bytes VolInfoValue(uint8_t major, uint8_t minor) {
  Bytes v(12, 0);
  v[8] = major;
  v[9] = minor;
  return v;
}

Bytes FileNameValue(const std::u16string& name) {
  Bytes v(0x42, 0);
  v[0x40] = static_cast<uint8_t>(name.size());
  v[0x41] = 1;
  const Bytes text = Utf16(name);
  v.insert(v.end(), text.begin(), text.end());
  return v;
}

Bytes AttrListEntry(uint32_t type, uint64_t recordNumber, uint16_t length) {
  Bytes e(32, 0);
  PutU32(e, 0x00, type);
  PutU16(e, 0x04, length);
  e[0x07] = 0x1A;
  PutU32(e, 0x10, static_cast<uint32_t>(recordNumber));
  PutU16(e, 0x14, static_cast<uint16_t>(recordNumber >> 32));
  return e;
}

Bytes IndexEntry(const Bytes& key, bool last) {
  Bytes e(Align8(0x10 + key.size()), 0);
  for (size_t i = 0; i < key.size(); ++i) e[0x10 + i] = key[i];
  PutU16(e, 0x08, static_cast<uint16_t>(e.size()));
  PutU16(e, 0x0A, static_cast<uint16_t>(key.size()));
  e[0x0C] = last ? 0x02 : 0x00;
  return e;
}

Bytes IndexRootValue(uint32_t indexedType, const std::vector<Bytes>& entries) {
  Bytes v(0x20, 0);
  PutU32(v, 0x00, indexedType);
  PutU32(v, 0x04, 1);
  PutU32(v, 0x08, 4096);
  v[0x0C] = 1;
  size_t total = 0;
  for (const Bytes& e : entries) {
    v.insert(v.end(), e.begin(), e.end());
    total += e.size();
  }
  PutU32(v, 0x10, 0x10);
  PutU32(v, 0x14, static_cast<uint32_t>(total));
  PutU32(v, 0x18, static_cast<uint32_t>(total));
  return v;
}

Bytes ResidentAttribute(uint32_t type, const Bytes& value, const std::u16string& name) {
  const Bytes nameBytes = Utf16(name);
  const size_t valueOffset = Align8(0x18 + nameBytes.size());
  Bytes a(Align8(valueOffset + value.size()), 0);
  PutU32(a, 0x00, type);
  PutU32(a, 0x04, static_cast<uint32_t>(a.size()));
  a[0x08] = 0;
  a[0x09] = static_cast<uint8_t>(name.size());
  PutU16(a, 0x0A, 0x18);
  PutU32(a, 0x10, static_cast<uint32_t>(value.size()));
  PutU16(a, 0x14, static_cast<uint16_t>(valueOffset));
  std::copy(nameBytes.begin(), nameBytes.end(), a.begin() + 0x18);
  std::copy(value.begin(), value.end(), a.begin() + static_cast<long>(valueOffset));
  return a;
}

Bytes NonResidentAttribute(uint32_t type, const Bytes& runs, uint64_t lastVcn, uint64_t realSize,
                           const std::u16string& name, uint64_t startVcn) {
  const Bytes nameBytes = Utf16(name);
  const size_t runsOffset = Align8(0x40 + nameBytes.size());
  Bytes a(Align8(runsOffset + runs.size()), 0);
  PutU32(a, 0x00, type);
  PutU32(a, 0x04, static_cast<uint32_t>(a.size()));
  a[0x08] = 1;
  a[0x09] = static_cast<uint8_t>(name.size());
  PutU16(a, 0x0A, 0x40);
  PutU64(a, 0x10, startVcn);
  PutU64(a, 0x18, lastVcn);
  PutU16(a, 0x20, static_cast<uint16_t>(runsOffset));
  PutU64(a, 0x28, (lastVcn - startVcn + 1) * 4096);
  PutU64(a, 0x30, realSize);
  PutU64(a, 0x38, realSize);
  std::copy(nameBytes.begin(), nameBytes.end(), a.begin() + 0x40);
  std::copy(runs.begin(), runs.end(), a.begin() + static_cast<long>(runsOffset));
  return a;
}

Bytes SingleRun(uint64_t lcn, uint64_t count) {
  const size_t lw = ByteWidth(count);
  // The LCN is signed on disk: a top bit set needs one byte more.
  size_t ow = ByteWidth(lcn);
  if (ow < 8 && ((lcn >> (8 * ow - 1)) & 1)) ++ow;
  Bytes r;
  r.push_back(static_cast<uint8_t>(lw | (ow << 4)));
  for (size_t i = 0; i < lw; ++i) r.push_back(static_cast<uint8_t>(count >> (8 * i)));
  for (size_t i = 0; i < ow; ++i) r.push_back(static_cast<uint8_t>(lcn >> (8 * i)));
  r.push_back(0);
  return r;
}

NtfsRecordBuilder::NtfsRecordBuilder(uint32_t recordSize, uint16_t sectorSize)
    : recordSize_(recordSize), sectorSize_(sectorSize) {}

NtfsRecordBuilder& NtfsRecordBuilder::Add(const Bytes& attribute) {
  attributes_.push_back(attribute);
  return *this;
}

uint16_t NtfsRecordBuilder::FirstAttributeOffset() const {
  const size_t sectors = sectorSize_ ? recordSize_ / sectorSize_ : 0;
  return static_cast<uint16_t>(Align8(0x30 + 2 + 2 * sectors));
}

Bytes NtfsRecordBuilder::Build(uint16_t sequenceNumber) const {
  Bytes r(recordSize_, 0);
  std::memcpy(r.data(), "FILE", 4);
  const size_t sectors = sectorSize_ ? recordSize_ / sectorSize_ : 0;
  PutU16(r, 0x04, 0x30);
  PutU16(r, 0x06, static_cast<uint16_t>(sectors + 1));
  PutU16(r, 0x10, 1);
  PutU16(r, 0x12, 1);
  size_t at = FirstAttributeOffset();
  PutU16(r, 0x14, static_cast<uint16_t>(at));
  PutU16(r, 0x16, 1);
  for (const Bytes& a : attributes_) {
    std::copy(a.begin(), a.end(), r.begin() + static_cast<long>(at));
    at += a.size();
  }
  PutU32(r, at, 0xFFFFFFFF);
  PutU32(r, 0x18, static_cast<uint32_t>(at + 8));
  PutU32(r, 0x1C, recordSize_);
  r.resize(recordSize_);
  PutU16(r, 0x30, sequenceNumber);
  for (size_t i = 0; i < sectors; ++i) {
    const size_t end = i * sectorSize_ + sectorSize_ - 2;
    r[0x32 + 2 * i] = r[end];
    r[0x33 + 2 * i] = r[end + 1];
    PutU16(r, end, sequenceNumber);
  }
  return r;
}

NtfsImageBuilder::NtfsImageBuilder(uint64_t clusters) {
  boot_.totalSectors = clusters * (kClusterSize / 512);
  bytes_.assign(clusters * kClusterSize, 0);
  SetBootSector(boot_);
  // $MFT: its $DATA covers the whole MFT.
  SetRecord(0, NtfsRecordBuilder()
                   .Add(ResidentAttribute(0x10, StdInfoValue(0x06)))
                   .Add(NonResidentAttribute(0x80, SingleRun(kMftCluster, kMftRecords * kRecordSize / kClusterSize),
                                             kMftRecords * kRecordSize / kClusterSize - 1,
                                             kMftRecords * kRecordSize))
                   .Build());
  SetVersion(3, 1);
  SetBitmap(Bytes((clusters + 7) / 8, 0));
}

void NtfsImageBuilder::SetBootSector(const NtfsBootFields& fields) {
  boot_ = fields;
  Write(0, MakeNtfsBootSector(fields));
}

void NtfsImageBuilder::Write(uint64_t offset, const Bytes& data) {
  if (bytes_.size() < offset + data.size()) bytes_.resize(offset + data.size());
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<long>(offset));
}

void NtfsImageBuilder::SetRecord(uint64_t n, const Bytes& record) { Write(RecordOffset(n), record); }

void NtfsImageBuilder::SetVersion(uint8_t major, uint8_t minor) {
  SetRecord(3, NtfsRecordBuilder()
                   .Add(ResidentAttribute(0x10, StdInfoValue(0x06)))
                   .Add(ResidentAttribute(0x60, Utf16(u"Photos")))
                   .Add(ResidentAttribute(0x70, VolInfoValue(major, minor)))
                   .Build());
}

void NtfsImageBuilder::SetBitmap(const Bytes& bitmap) {
  const uint64_t clusters = bitmap.empty() ? 1 : (bitmap.size() + kClusterSize - 1) / kClusterSize;
  SetRecord(6, NtfsRecordBuilder()
                   .Add(ResidentAttribute(0x10, StdInfoValue(0x06)))
                   .Add(NonResidentAttribute(0x80, SingleRun(kBitmapCluster, clusters), clusters - 1, bitmap.size()))
                   .Build());
  Write(kBitmapCluster * kClusterSize, bitmap);
}
