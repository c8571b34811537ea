#include <gtest/gtest.h>

#include "ntfs/attr_typed.h"
#include "ntfs/file_record.h"
#include "tests/support/ntfs_test_volume.h"

namespace {

constexpr uint64_t kTestRecord = 20;  // read through the MFT's $DATA

Bytes StdInfo(uint32_t flags = 0) { return ResidentAttribute(0x10, StdInfoValue(flags)); }

// A volume whose record kTestRecord holds the given bytes.
NtfsImageBuilder ImageWithRecord(const Bytes& record, uint64_t number = kTestRecord) {
  NtfsImageBuilder image;
  image.SetRecord(number, record);
  return image;
}

TEST(NtfsFileRecordLoad, AppliesTheFixupOfEverySector) {
  Bytes value(700, 0x5A);  // the value crosses the first sector's check word
  NtfsTestVolume v(ImageWithRecord(NtfsRecordBuilder().Add(ResidentAttribute(0x80, value)).Build(0x1234)).bytes());
  CFileRecord record(&v.volume);
  ASSERT_TRUE(record.LoadRecord(kTestRecord));
  EXPECT_EQ(record.GetRecordNumber(), kTestRecord);
  ASSERT_TRUE(record.ParseAttributes());
  CAttrBase* data = record.FindUnnamedData();
  ASSERT_NE(data, nullptr);
  Bytes read(700);
  uint32_t got = 0;
  const uint64_t offset = 0;
  ASSERT_TRUE(data->ReadValue(offset, read.data(), 700, &got));
  EXPECT_EQ(read, value);
}

TEST(NtfsFileRecordLoad, RefusesBadRecords) {
  struct Case {
    const char* name;
    size_t patchAt;
    Bytes patch;
  };
  const Case cases[] = {
      {"last sector's check word differs", 1022, {0x99, 0x99}},
      {"first sector's check word differs", 510, {0x99, 0x99}},
      {"no FILE signature (a bad record)", 0, {'B', 'A', 'A', 'D'}},
      {"zeros", 0, {0, 0, 0, 0}},
      {"update sequence array outside the record", 4, {0xFE, 0x03}},
      {"update sequence array running past the record", 4, {0xFC, 0x03}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes record = NtfsRecordBuilder().Add(StdInfo()).Build();
    std::copy(c.patch.begin(), c.patch.end(), record.begin() + static_cast<long>(c.patchAt));
    NtfsTestVolume v(ImageWithRecord(record).bytes());
    CFileRecord file(&v.volume);
    EXPECT_FALSE(file.LoadRecord(kTestRecord));
    EXPECT_EQ(file.GetRecordNumber(), kTestRecord);
    EXPECT_FALSE(file.ParseAttributes());
  }
}

TEST(NtfsFileRecordLoad, AFailedReadLeavesNoRecordNumber) {
  NtfsImageBuilder image;
  NtfsTestVolume v(image.bytes());
  CFileRecord record(&v.volume);
  EXPECT_FALSE(record.LoadRecord(NtfsImageBuilder::kMftRecords + 5));  // past the MFT's value
  EXPECT_EQ(record.GetRecordNumber(), CFileRecord::kNoRecord);
}

TEST(NtfsFileRecordLoad, ARecordSmallerThanASectorHasNoFixup) {
  // 256-byte records on 512-byte sectors: no sector ends inside a record.
  NtfsImageBuilder image;
  NtfsBootFields boot = image.boot();
  boot.clustersPerRecord = -8;
  image.SetBootSector(boot);
  Bytes small = NtfsRecordBuilder(256, 512).Add(ResidentAttribute(0x70, VolInfoValue(3, 1))).Build();
  small[254] = 0x77;  // would be a check word with a larger record
  image.Write(NtfsImageBuilder::kMftCluster * NtfsImageBuilder::kClusterSize + 3 * 256, small);
  NtfsTestVolume v(image.bytes());
  EXPECT_EQ(v.volume.FileRecordSize, 256u);
  EXPECT_TRUE(v.volume.IsUsable()) << v.volume.GetFailureReason();
  EXPECT_EQ(v.volume.NtfsVersion, 0x0301);
}

TEST(NtfsFileRecordLoad, LowRecordsAreReadFlatAndHighOnesThroughTheMftData) {
  // The MFT's $DATA says records 16 and up lie elsewhere: at cluster 40.
  NtfsImageBuilder image(512);
  const Bytes moved = NtfsRecordBuilder().Add(ResidentAttribute(0x80, Bytes{1, 2, 3})).Build();
  image.SetRecord(0, NtfsRecordBuilder()
                         .Add(NonResidentAttribute(0x80, Bytes{0x11, 4, 4, 0x11, 4, 36, 0}, 7, 8 * 4096))
                         .Build());
  image.Write(40 * 4096 + 0 * 1024, moved);  // record 16 = VCN 4 = cluster 40
  image.SetRecord(16, NtfsRecordBuilder().Build());
  NtfsTestVolume v(image.bytes());
  ASSERT_NE(v.volume.MftData, nullptr);
  CFileRecord record(&v.volume);
  ASSERT_TRUE(record.LoadRecord(16));
  ASSERT_TRUE(record.ParseAttributes());
  EXPECT_NE(record.FindUnnamedData(), nullptr);
  ASSERT_TRUE(record.LoadRecord(6));  // flat, at the MFT start
  ASSERT_TRUE(record.ParseAttributes());
  EXPECT_NE(record.FindUnnamedData(), nullptr);
}

struct WalkCase {
  const char* name;
  Bytes record;
  bool parses;
  uint32_t objects;  // objects built, all lists together
};

uint32_t CountObjects(CFileRecord& record) {
  uint32_t n = 0;
  for (uint32_t i = 0; i < CFileRecord::kTypeListCount; ++i) n += record.TypeList(i).GetCount();
  return n;
}

Bytes Patched(Bytes record, size_t at, uint32_t value, size_t width = 4) {
  for (size_t i = 0; i < width; ++i) record[at + i] = static_cast<uint8_t>(value >> (8 * i));
  return record;
}

TEST(NtfsFileRecordParse, WalksAttributesSafely) {
  const NtfsRecordBuilder two = NtfsRecordBuilder().Add(StdInfo()).Add(ResidentAttribute(0x80, Bytes(8, 1)));
  const size_t first = two.FirstAttributeOffset();
  const size_t second = first + StdInfo().size();
  const Bytes good = two.Build();
  const WalkCase cases[] = {
      {"two attributes", good, true, 2},
      {"length 0", Patched(good, second + 4, 0), false, 1},
      {"length shorter than a header", Patched(good, second + 4, 8), false, 1},
      {"length past the record ends the walk", Patched(good, second + 4, 4000), true, 1},
      {"length wrapping past 4 GiB", Patched(good, second + 4, 0xFFFFFFF8), true, 1},
      {"first attribute offset outside the record", Patched(good, 0x14, 0x3FE, 2), false, 0},
      {"first attribute offset at the very end", Patched(good, 0x14, 1022, 2), false, 0},
      {"resident value outside the attribute", Patched(good, second + 0x10, 500), false, 1},
      {"resident value offset outside the attribute", Patched(good, second + 0x14, 0x300, 2), false, 1},
      {"resident type marked non-resident", Patched(good, first + 8, 1, 1), false, 0},
      {"type below 0x10 under the full mask", Patched(good, second, 0x08), false, 1},
      {"type 0x110 under the full mask", Patched(good, second, 0x110), false, 1},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    NtfsTestVolume v(ImageWithRecord(c.record).bytes());
    CFileRecord record(&v.volume);
    ASSERT_TRUE(record.LoadRecord(kTestRecord));
    EXPECT_EQ(record.ParseAttributes(), c.parses);
    EXPECT_EQ(CountObjects(record), c.objects);
  }
}

TEST(NtfsFileRecordParse, ContradictoryResidentFlagsFailTheAttribute) {
  const Bytes indexAllocResident = ResidentAttribute(0xA0, Bytes(16, 0));
  Bytes volInfoNonResident = NonResidentAttribute(0x70, SingleRun(30, 1), 0, 100);
  const Bytes records[] = {NtfsRecordBuilder().Add(indexAllocResident).Build(),
                           NtfsRecordBuilder().Add(volInfoNonResident).Build()};
  for (const Bytes& r : records) {
    NtfsTestVolume v(ImageWithRecord(r).bytes());
    CFileRecord record(&v.volume);
    ASSERT_TRUE(record.LoadRecord(kTestRecord));
    EXPECT_FALSE(record.ParseAttributes());
    EXPECT_EQ(CountObjects(record), 0u);
  }
}

TEST(NtfsFileRecordParse, TypeMasksChooseWhatIsBuilt) {
  const Bytes r = NtfsRecordBuilder()
                      .Add(StdInfo())
                      .Add(ResidentAttribute(0x30, FileNameValue(u"photo.jpg")))
                      .Add(ResidentAttribute(0x60, Utf16(u"Vol")))
                      .Add(ResidentAttribute(0x70, VolInfoValue(3, 1)))
                      .Add(ResidentAttribute(0x80, Bytes(4, 0)))
                      .Add(ResidentAttribute(0x100, Bytes(4, 0)))
                      .Build();
  struct Case {
    uint32_t mask;
    std::vector<uint32_t> built;  // type codes with one object each
  };
  const Case cases[] = {
      {131, {0x10, 0x80}},
      {99, {0x10, 0x60, 0x70}},
      {0xFFFFFFFF, {0x10, 0x30, 0x60, 0x70, 0x80, 0x100}},
      {1u << 2, {0x30}},
      {0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    NtfsTestVolume v(ImageWithRecord(r).bytes());
    CFileRecord record(&v.volume);
    record.SetTypeMask(c.mask);
    ASSERT_TRUE(record.LoadRecord(kTestRecord));
    ASSERT_TRUE(record.ParseAttributes());
    EXPECT_EQ(CountObjects(record), c.built.size());
    for (uint32_t type : c.built) EXPECT_NE(record.FirstOfType(type), nullptr) << std::hex << type;
  }
}

TEST(NtfsFileRecordParse, CompressedAndEncryptedFilesFailUnderMasksWithStandardInformation) {
  struct Case {
    uint32_t flags;
    uint32_t mask;
    bool parses;
  };
  const Case cases[] = {
      {0x800, 131, false}, {0x4000, 131, false}, {0x800, 99, false},
      {0x4000, 99, false}, {0x800, 0x80, true},  {0x20, 131, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.flags << " " << c.mask);
    NtfsTestVolume v(
        ImageWithRecord(NtfsRecordBuilder().Add(StdInfo(c.flags)).Add(ResidentAttribute(0x80, Bytes(4, 0))).Build())
            .bytes());
    CFileRecord record(&v.volume);
    record.SetTypeMask(c.mask);
    ASSERT_TRUE(record.LoadRecord(kTestRecord));
    EXPECT_EQ(record.ParseAttributes(), c.parses);
  }
}

TEST(NtfsFileRecordParse, FindsTheUnnamedDataBehindANamedStream) {
  const Bytes r = NtfsRecordBuilder()
                      .Add(ResidentAttribute(0x80, Bytes{1}, u"Zone.Identifier"))
                      .Add(ResidentAttribute(0x80, Bytes{2, 2}))
                      .Build();
  NtfsTestVolume v(ImageWithRecord(r).bytes());
  CFileRecord record(&v.volume);
  ASSERT_TRUE(record.LoadRecord(kTestRecord));
  ASSERT_TRUE(record.ParseAttributes());
  CAttrBase* unnamed = record.FindUnnamedData();
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(unnamed->GetValueSize(), 2u);
  CAttrBase* first = record.FirstOfType(0x80);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->NameLength(), 15);
  EXPECT_EQ(record.NextOfType(0x80), unnamed);
  EXPECT_EQ(record.FirstOfType(0x110), nullptr);
}

TEST(NtfsFileRecordParse, ARecordWithOnlyANamedStreamHasNoUnnamedData) {
  NtfsTestVolume v(ImageWithRecord(NtfsRecordBuilder().Add(ResidentAttribute(0x80, Bytes{1}, u"s")).Build()).bytes());
  CFileRecord record(&v.volume);
  ASSERT_TRUE(record.LoadRecord(kTestRecord));
  ASSERT_TRUE(record.ParseAttributes());
  EXPECT_EQ(record.FindUnnamedData(), nullptr);
}

TEST(NtfsFileRecordParse, ParsingWithoutARecordFails) {
  NtfsTestVolume v(NtfsImageBuilder().bytes());
  CFileRecord record(&v.volume);
  EXPECT_FALSE(record.ParseAttributes());
}

}  // namespace
