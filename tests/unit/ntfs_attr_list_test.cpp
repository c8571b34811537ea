#include <gtest/gtest.h>

#include "ntfs/attr_list.h"
#include "ntfs/file_record.h"
#include "tests/support/ntfs_test_volume.h"

namespace {

constexpr uint64_t kOwner = 20;

Bytes Entries(const std::vector<Bytes>& entries) {
  Bytes out;
  for (const Bytes& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}

// Data objects are told apart by their value's first byte.
Bytes DataMarked(uint8_t mark) { return ResidentAttribute(0x80, Bytes{mark}); }

class NtfsAttrListTest : public testing::Test {
 protected:
  NtfsAttrListTest() {
    image.SetRecord(21, NtfsRecordBuilder().Add(DataMarked(21)).Add(ResidentAttribute(0x30, FileNameValue(u"x"))).Build());
    image.SetRecord(22, NtfsRecordBuilder().Add(DataMarked(22)).Add(DataMarked(23)).Build());
  }
  void SetOwner(const Bytes& listAttribute) {
    image.SetRecord(kOwner, NtfsRecordBuilder()
                                .Add(ResidentAttribute(0x10, StdInfoValue(0)))
                                .Add(listAttribute)
                                .Add(DataMarked(20))
                                .Build());
  }
  // Loads the owner with mask 131 and returns the marks of list 7, in order.
  std::vector<int> DataMarks(bool* parsed = nullptr, uint32_t mask = 131) {
    v.reset(new NtfsTestVolume(image.bytes()));
    record.reset(new CFileRecord(&v->volume));
    record->SetTypeMask(mask);
    EXPECT_TRUE(record->LoadRecord(kOwner));
    const bool ok = record->ParseAttributes();
    if (parsed) *parsed = ok;
    std::vector<int> marks;
    for (CAttrBase* a = record->FirstOfType(0x80); a != nullptr; a = record->NextOfType(0x80)) {
      uint8_t b = 0;
      uint32_t got = 0;
      const uint64_t offset = 0;
      a->ReadValue(offset, &b, 1, &got);
      marks.push_back(b);
    }
    return marks;
  }
  uint32_t ExtensionRecordsRead() {
    uint32_t n = 0;
    CSList<CAttrBase>& lists = record->TypeList(1);
    for (CAttrBase* a = lists.First(); a != nullptr; a = lists.Next()) {
      if (auto* r = dynamic_cast<CAttr_AttrList<CAttrResident>*>(a)) n += r->GetExtensionRecords().GetCount();
      if (auto* r = dynamic_cast<CAttr_AttrList<CAttrNonResident>*>(a)) n += r->GetExtensionRecords().GetCount();
    }
    return n;
  }

  NtfsImageBuilder image;
  std::unique_ptr<NtfsTestVolume> v;
  std::unique_ptr<CFileRecord> record;
};

TEST_F(NtfsAttrListTest, MovesObjectsFromExtensionRecords) {
  struct Case {
    const char* name;
    std::vector<Bytes> entries;
    std::vector<int> marks;
    uint32_t recordsRead;
  };
  const Case cases[] = {
      {"moved objects come first", {AttrListEntry(0x80, 21), AttrListEntry(0x80, kOwner)}, {21, 20}, 1},
      {"in entry order", {AttrListEntry(0x80, 22), AttrListEntry(0x80, 21)}, {22, 23, 21, 20}, 2},
      {"duplicates read the record twice", {AttrListEntry(0x80, 21), AttrListEntry(0x80, 21)}, {21, 21, 20}, 2},
      {"the owner itself is skipped", {AttrListEntry(0x80, kOwner)}, {20}, 0},
      {"unselected types are not read", {AttrListEntry(0x30, 21), AttrListEntry(0x80, 22)}, {22, 23, 20}, 1},
      {"type 0xFFFFFFFF ends the list", {AttrListEntry(0xFFFFFFFF, 0), AttrListEntry(0x80, 21)}, {20}, 0},
      {"type below 0x10 ends the list", {AttrListEntry(0x00, 21), AttrListEntry(0x80, 22)}, {20}, 0},
      {"entry length 0 ends the list", {AttrListEntry(0x80, 21, 0), AttrListEntry(0x80, 22)}, {20}, 0},
      {"entry shorter than its header ends the list", {AttrListEntry(0x80, 21, 0x10), AttrListEntry(0x80, 22)}, {20}, 0},
      {"a record that cannot be loaded stops the walk", {AttrListEntry(0x80, 25), AttrListEntry(0x80, 21)}, {20}, 1},
      {"a record past the MFT stops the walk", {AttrListEntry(0x80, 1ull << 40), AttrListEntry(0x80, 21)}, {20}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetOwner(ResidentAttribute(0x20, Entries(c.entries)));
    bool parsed = false;
    EXPECT_EQ(DataMarks(&parsed), c.marks);
    EXPECT_TRUE(parsed);
    EXPECT_EQ(ExtensionRecordsRead(), c.recordsRead);
  }
}

TEST_F(NtfsAttrListTest, TypeIndex16IsSkipped) {
  SetOwner(ResidentAttribute(0x20, Entries({AttrListEntry(0x110, 21), AttrListEntry(0x80, 22)})));
  bool parsed = false;
  EXPECT_EQ(DataMarks(&parsed, 0xFFFF), (std::vector<int>{22, 23, 20}));
  EXPECT_EQ(ExtensionRecordsRead(), 1u);
}

TEST_F(NtfsAttrListTest, ANonResidentListIsReadFromItsClusters) {
  image.Write(30 * 4096, Entries({AttrListEntry(0x80, 22), AttrListEntry(0x80, 21)}));
  SetOwner(NonResidentAttribute(0x20, SingleRun(30, 1), 0, 64));
  EXPECT_EQ(DataMarks(), (std::vector<int>{22, 23, 21, 20}));
}

TEST_F(NtfsAttrListTest, CyclesAmongListsEnd) {
  // 20 names 21 for its list, 21 names 20, and so on.
  SetOwner(ResidentAttribute(0x20, Entries({AttrListEntry(0x20, 21), AttrListEntry(0x80, 22)})));
  image.SetRecord(21, NtfsRecordBuilder().Add(ResidentAttribute(0x20, AttrListEntry(0x20, kOwner))).Build());
  bool parsed = false;
  EXPECT_EQ(DataMarks(&parsed), (std::vector<int>{22, 23, 20}));
  EXPECT_TRUE(parsed);
  EXPECT_LE(record->TypeList(1).GetCount(), CFileRecord::kMaxNestingDepth + 1);
}

TEST_F(NtfsAttrListTest, ExtensionRecordsAreBoundedPerParse) {
  // 2000 entries in a non-resident list, all naming record 21.
  std::vector<Bytes> entries(2000, AttrListEntry(0x80, 21));
  image.Write(40 * 4096, Entries(entries));
  SetOwner(NonResidentAttribute(0x20, SingleRun(40, 16), 15, 2000 * 32));
  const std::vector<int> marks = DataMarks();
  EXPECT_EQ(marks.size(), CFileRecord::kMaxExtensionRecords + 1);
  EXPECT_EQ(ExtensionRecordsRead(), CFileRecord::kMaxExtensionRecords);
}

}  // namespace
