#include <gtest/gtest.h>

#include "ntfs/attr_index.h"
#include "ntfs/attr_typed.h"
#include "ntfs/file_name.h"
#include "ntfs/file_record.h"
#include "tests/support/ntfs_test_volume.h"

namespace {

class NtfsTypedAttrTest : public testing::Test {
 protected:
  NtfsTypedAttrTest() : v(Image()), owner(&v.volume) {}
  static Bytes Image() {
    NtfsImageBuilder image(64);
    image.Write(30 * 4096, Bytes(4096, 0xAB));
    return image.bytes();
  }
  template <typename T>
  std::unique_ptr<T> Make(const Bytes& attr) {
    held = attr;
    return std::make_unique<T>(platform::ByteSpan(held.data(), held.size()), owner);
  }
  std::vector<std::wstring> Names(CAttr_IndexRoot& root) {
    std::vector<std::wstring> out;
    for (CIndexEntry* e = root.First(); e != nullptr; e = root.Next()) out.push_back(e->HasName() ? e->GetUpperName() : L"-");
    return out;
  }
  NtfsTestVolume v;
  CFileRecord owner;
  Bytes held;
};

TEST_F(NtfsTypedAttrTest, VersionsAndFlags) {
  EXPECT_EQ(Make<CAttr_VolInfo>(ResidentAttribute(0x70, VolInfoValue(3, 1)))->GetVersion(), 0x0301);
  EXPECT_EQ(Make<CAttr_VolInfo>(ResidentAttribute(0x70, VolInfoValue(1, 2)))->GetVersion(), 0x0102);
  EXPECT_EQ(Make<CAttr_VolInfo>(ResidentAttribute(0x70, Bytes(9, 3)))->GetVersion(), 0);  // too short
  EXPECT_EQ(Make<CAttr_StdInfo>(ResidentAttribute(0x10, StdInfoValue(0x4800)))->GetFileFlags(), 0x4800u);
  EXPECT_EQ(Make<CAttr_StdInfo>(ResidentAttribute(0x10, Bytes(0x20, 0)))->GetFileFlags(), 0u);
}

TEST_F(NtfsTypedAttrTest, VolumeNames) {
  Bytes odd = Utf16(u"Photos");
  odd.push_back('!');  // 13 bytes: 6 characters
  auto name = Make<CAttr_VolName>(ResidentAttribute(0x60, odd));
  EXPECT_EQ(name->GetNameLength(), 6u);
  EXPECT_EQ(name->GetName(), L"Photos");
  EXPECT_EQ(name->GetAnsiName(), "Photos");
  EXPECT_EQ(Make<CAttr_VolName>(ResidentAttribute(0x60, Utf16(u"Fotos\u00e9")))->GetAnsiName(), "Fotos?");
}

TEST_F(NtfsTypedAttrTest, FileNamesAreUpperCased) {
  auto name = Make<CAttr_FileName>(ResidentAttribute(0x30, FileNameValue(u"img_0001.jpg")));
  EXPECT_EQ(name->GetUpperName(), L"IMG_0001.JPG");
  EXPECT_EQ(name->GetNameLength(), 12u);
  auto empty = Make<CAttr_FileName>(ResidentAttribute(0x30, FileNameValue(u"")));
  EXPECT_FALSE(empty->HasName());
  EXPECT_EQ(empty->GetNameLength(), 0u);
  Bytes cut = FileNameValue(u"abcdef");
  cut[0x40] = 200;  // claims more characters than the value holds
  auto clipped = Make<CAttr_FileName>(ResidentAttribute(0x30, cut));
  EXPECT_EQ(clipped->GetUpperName(), L"ABCDEF");
}

TEST_F(NtfsTypedAttrTest, IndexRootsListTheirEntries) {
  const Bytes last = IndexEntry({}, true);
  const Bytes a = IndexEntry(FileNameValue(u"dcim"), false);
  const Bytes b = IndexEntry(FileNameValue(u"Photo.jpg"), false);
  struct Case {
    const char* name;
    Bytes value;
    std::vector<std::wstring> names;
  };
  Bytes zeroLength = IndexRootValue(0x30, {a, b, last});
  PutU16(zeroLength, 0x20 + a.size() + 8, 0);
  Bytes pastValue = IndexRootValue(0x30, {a, b, last});
  PutU16(pastValue, 0x20 + a.size() + 8, 0x7000);
  PutU32(pastValue, 0x14, 0x10000);
  Bytes tooLarge = IndexRootValue(0x30, {a, last});
  PutU32(tooLarge, 0x14, static_cast<uint32_t>(a.size() - 1));
  Bytes firstOffsetOutside = IndexRootValue(0x30, {a, last});
  PutU32(firstOffsetOutside, 0x10, 0xFFFFFFF0);
  const Case cases[] = {
      {"only the closing entry", IndexRootValue(0x30, {last}), {L"-"}},
      {"two names and the closing entry", IndexRootValue(0x30, {a, b, last}), {L"DCIM", L"PHOTO.JPG", L"-"}},
      {"entries adding up to the total size", IndexRootValue(0x30, {a, b}), {L"DCIM", L"PHOTO.JPG"}},
      {"not a file-name index", IndexRootValue(0x90, {a, last}), {}},
      {"first entry larger than the total", tooLarge, {}},
      {"entry length 0 ends the list", zeroLength, {L"DCIM"}},
      {"entry reaching past the value ends the list", pastValue, {L"DCIM"}},
      {"first entry offset outside the value", firstOffsetOutside, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto root = Make<CAttr_IndexRoot>(ResidentAttribute(0x90, c.value, u"$I30"));
    EXPECT_EQ(Names(*root), c.names);
  }
}

TEST_F(NtfsTypedAttrTest, IndexAllocationsCountWholeBlocks) {
  EXPECT_EQ(Make<CAttr_IndexAlloc>(NonResidentAttribute(0xA0, SingleRun(30, 3), 2, 12288))->GetIndexBlockCount(), 3u);
  EXPECT_EQ(Make<CAttr_IndexAlloc>(NonResidentAttribute(0xA0, SingleRun(30, 3), 2, 10000))->GetIndexBlockCount(), 0u);
  EXPECT_EQ(Make<CAttr_IndexAlloc>(NonResidentAttribute(0xA0, SingleRun(30, 9), 2, 12288))->GetIndexBlockCount(), 0u);
}

TEST_F(NtfsTypedAttrTest, BitmapsReadOnlyResidentValues) {
  auto resident = Make<CAttr_Bitmap<CAttrResident>>(ResidentAttribute(0xB0, Bytes{0x0F, 0xF0}));
  EXPECT_EQ(resident->GetBitmapSize(), 2u);
  ASSERT_NE(resident->GetBitmapBuffer(), nullptr);
  EXPECT_EQ(resident->GetBitmapBuffer()[1], 0xF0);
  auto nonResident = Make<CAttr_Bitmap<CAttrNonResident>>(NonResidentAttribute(0xB0, SingleRun(30, 1), 0, 8));
  EXPECT_EQ(nonResident->GetBitmapSize(), 8u);
  ASSERT_NE(nonResident->GetBitmapBuffer(), nullptr);
  EXPECT_EQ(nonResident->GetBitmapBuffer()[0], 0);
  auto broken = Make<CAttr_Bitmap<CAttrNonResident>>(NonResidentAttribute(0xB0, SingleRun(30, 5), 0, 8));
  EXPECT_EQ(broken->GetBitmapSize(), 0u);
  EXPECT_EQ(broken->GetBitmapBuffer(), nullptr);
}

}  // namespace
