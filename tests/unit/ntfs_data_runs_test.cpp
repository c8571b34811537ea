#include <gtest/gtest.h>

#include "ntfs/attr_nonresident.h"
#include "ntfs/data_runs.h"
#include "ntfs/file_record.h"
#include "tests/support/ntfs_test_volume.h"

namespace {

struct RunCase {
  const char* name;
  Bytes runs;
  RunPairResult result;
  uint64_t length;
  int64_t delta;
  bool sparse;
};

TEST(NtfsDataRuns, DecodesOneRunPair) {
  const RunCase cases[] = {
      {"length 0x18 at 0x5634", {0x21, 0x18, 0x34, 0x56}, RunPairResult::kDecoded, 0x18, 0x5634, false},
      {"one-byte negative delta", {0x11, 0x05, 0xF0}, RunPairResult::kDecoded, 5, -16, false},
      {"two-byte negative delta", {0x21, 0x01, 0x00, 0x80}, RunPairResult::kDecoded, 1, -32768, false},
      {"sparse run", {0x01, 0x40}, RunPairResult::kDecoded, 0x40, 0, true},
      {"eight-byte fields", {0x88, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, RunPairResult::kDecoded, 1, 2,
       false},
      {"length field of 9 bytes", {0x09, 1, 1, 1, 1, 1, 1, 1, 1, 1}, RunPairResult::kUnsupported, 0, 0, false},
      {"offset field of 9 bytes", {0x91, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, RunPairResult::kUnsupported, 0, 0, false},
      {"negative length", {0x08, 0, 0, 0, 0, 0, 0, 0, 0x80}, RunPairResult::kUnsupported, 0, 0, false},
      {"fields past the end", {0x21, 0x18, 0x34}, RunPairResult::kCrossesEnd, 0, 0, false},
      {"nothing left", {}, RunPairResult::kCrossesEnd, 0, 0, false},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    size_t cursor = 0;
    uint64_t length = 0;
    int64_t delta = 0;
    bool sparse = false;
    const RunPairResult result =
        NextRunPair(platform::ByteSpan(c.runs.data(), c.runs.size()), &cursor, &length, &delta, &sparse);
    EXPECT_EQ(result, c.result);
    if (result == RunPairResult::kDecoded) {
      EXPECT_EQ(length, c.length);
      EXPECT_EQ(delta, c.delta);
      EXPECT_EQ(sparse, c.sparse);
      EXPECT_EQ(cursor, c.runs.size());
    }
  }
}

// Non-resident attributes over a volume whose cluster n is filled with the
// byte n (4096-byte clusters).
class NtfsNonResidentTest : public testing::Test {
 protected:
  NtfsNonResidentTest() : volume(Image()) {}
  static Bytes Image() {
    NtfsImageBuilder image(256);
    for (uint64_t c = 40; c < 256; ++c) image.Write(c * 4096, Bytes(4096, static_cast<uint8_t>(c)));
    return image.bytes();
  }
  std::unique_ptr<CAttrNonResident> Make(const Bytes& runs, uint64_t lastVcn, uint64_t realSize) {
    attribute = NonResidentAttribute(0x80, runs, lastVcn, realSize);
    return std::make_unique<CAttrNonResident>(platform::ByteSpan(attribute.data(), attribute.size()), owner);
  }
  std::vector<tagDataRun_Entry> RunsOf(CAttrNonResident& a) {
    std::vector<tagDataRun_Entry> out;
    for (tagDataRun_Entry* e = a.GetRuns().First(); e != nullptr; e = a.GetRuns().Next()) out.push_back(*e);
    return out;
  }
  NtfsTestVolume volume;
  CFileRecord owner{&volume.volume};
  Bytes attribute;
};

TEST_F(NtfsNonResidentTest, DecodesRunLists) {
  struct Case {
    const char* name;
    Bytes runs;
    uint64_t lastVcn;
    bool decoded;
    std::vector<std::pair<int64_t, uint64_t>> runsOut;  // (Lcn, ClusterCount)
  };
  const Case cases[] = {
      {"one run", {0x21, 0x18, 0x34, 0x56, 0}, 0x17, true, {{0x5634, 0x18}}},
      {"backwards second run", {0x11, 2, 0x60, 0x11, 3, 0xF0, 0}, 4, true, {{0x60, 2}, {0x50, 3}}},
      {"sparse run keeps the LCN", {0x11, 2, 0x60, 0x01, 4, 0x11, 1, 0x02, 0}, 6, true,
       {{0x60, 2}, {-1, 4}, {0x62, 1}}},
      {"field of 9 bytes ends the list", {0x11, 2, 0x60, 0x09, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}, 1, true, {{0x60, 2}}},
      {"LCN below 0", {0x11, 2, 0x10, 0x11, 1, 0xE0, 0}, 2, false, {{0x10, 2}}},
      {"more clusters than the VCN range", {0x11, 2, 0x60, 0x11, 3, 0x10, 0}, 3, false, {}},
      {"empty list", {0}, 0, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto a = Make(c.runs, c.lastVcn, 4096);
    EXPECT_EQ(a->RunsDecoded(), c.decoded);
    const auto runs = RunsOf(*a);
    ASSERT_EQ(runs.size(), c.runsOut.size());
    uint64_t vcn = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].Lcn, c.runsOut[i].first);
      EXPECT_EQ(runs[i].ClusterCount, c.runsOut[i].second);
      EXPECT_EQ(runs[i].StartVcn, vcn);
      vcn += runs[i].ClusterCount;
      EXPECT_EQ(runs[i].LastVcn, vcn - 1);
    }
  }
}

TEST_F(NtfsNonResidentTest, RunsReachingPastTheAttributeAreDamaged) {
  // The runs fill the attribute to its last byte with no end marker.
  Bytes attr = NonResidentAttribute(0x80, Bytes{0x11, 2, 0x60, 0, 0, 0, 0, 0}, 10, 4096);
  attr[0x40 + 3] = 0x21;  // a second run, whole
  attr[0x40 + 4] = 1;
  attr[0x40 + 5] = 1;
  attr[0x40 + 6] = 1;
  attr[0x40 + 7] = 0x11;  // a third whose fields lie past the end
  CAttrNonResident a(platform::ByteSpan(attr.data(), attr.size()), owner);
  EXPECT_FALSE(a.RunsDecoded());
  EXPECT_EQ(RunsOf(a).size(), 2u);
}

TEST_F(NtfsNonResidentTest, ReadsValuesAsTheBitmapLoaderDoes) {
  // 100000 bytes in 25 clusters at LCN 50.
  auto a = Make(SingleRun(50, 25), 24, 100000);
  Bytes buffer(65536);
  uint32_t got = 0;
  uint64_t offset = 0;
  ASSERT_TRUE(a->ReadValue(offset, buffer.data(), 65536, &got));
  EXPECT_EQ(got, 65536u);
  EXPECT_EQ(buffer[0], 50);
  EXPECT_EQ(buffer[65535], 65);
  offset = 65536;
  ASSERT_TRUE(a->ReadValue(offset, buffer.data(), 65536, &got));
  EXPECT_EQ(got, 34464u);
  EXPECT_EQ(buffer[0], 66);
  EXPECT_EQ(buffer[34463], 74);  // the 1696-byte tail of the last cluster
}

TEST_F(NtfsNonResidentTest, ReadsPartialFirstAndLastClusters) {
  auto a = Make(Bytes{0x11, 2, 50, 0x11, 2, 10, 0}, 3, 4 * 4096);  // clusters 50, 51, 60, 61
  struct Case {
    uint64_t offset;
    uint32_t length;
    bool ok;
    uint32_t got;
    std::vector<std::pair<uint32_t, uint8_t>> expect;  // (buffer index, byte)
  };
  const Case cases[] = {
      {100, 5000, true, 5000, {{0, 50}, {3995, 50}, {3996, 51}, {4999, 51}}},
      {4000, 8192, true, 8192, {{0, 50}, {95, 50}, {96, 51}, {4191, 51}, {4192, 60}, {8191, 60}}},
      {16383, 10, true, 1, {{0, 61}}},
      {16384, 10, true, 0, {}},
      {16385, 10, false, 0, {}},
      {777, 0, true, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    Bytes buffer(c.length + 1, 0xEE);
    uint32_t got = 99;
    EXPECT_EQ(a->ReadValue(c.offset, buffer.data(), c.length, &got), c.ok);
    EXPECT_EQ(got, c.got);
    for (const auto& e : c.expect) EXPECT_EQ(buffer[e.first], e.second) << e.first;
    EXPECT_EQ(buffer[c.length], 0xEE);
  }
}

TEST_F(NtfsNonResidentTest, SparseRunsReadAsZeros) {
  auto a = Make(Bytes{0x11, 1, 50, 0x01, 3, 0x11, 1, 1, 0}, 4, 5 * 4096);
  Bytes buffer(8192, 0xEE);
  uint32_t got = 0;
  const uint64_t offset = 4096 + 2048;
  ASSERT_TRUE(a->ReadValue(offset, buffer.data(), 8192, &got));
  EXPECT_EQ(got, 8192u);
  EXPECT_EQ(buffer, Bytes(8192, 0));
  const uint64_t last = 4 * 4096;
  ASSERT_TRUE(a->ReadValue(last, buffer.data(), 10, &got));
  EXPECT_EQ(buffer[0], 51);
}

TEST_F(NtfsNonResidentTest, OverLongRunsLeaveNothingToRead) {
  auto a = Make(Bytes{0x11, 9, 50, 0}, 3, 4 * 4096);
  EXPECT_FALSE(a->RunsDecoded());
  Bytes buffer(4096);
  uint32_t got = 0;
  const uint64_t offset = 0;
  EXPECT_FALSE(a->ReadValue(offset, buffer.data(), 4096, &got));
  EXPECT_TRUE(a->ReadValue(offset, buffer.data(), 0, &got));
}

TEST_F(NtfsNonResidentTest, ASizeBeyondTheRunsFailsTheRead) {
  auto a = Make(SingleRun(50, 2), 3, 4 * 4096);  // the header claims 4 clusters, runs hold 2
  Bytes buffer(4 * 4096);
  uint32_t got = 0;
  const uint64_t offset = 0;
  EXPECT_FALSE(a->ReadValue(offset, buffer.data(), 4 * 4096, &got));
}

TEST_F(NtfsNonResidentTest, RunsPastTheEndOfTheVolumeFailTheRead) {
  auto a = Make(SingleRun(0x7FFFFFFFFFFF, 1), 0, 4096);
  Bytes buffer(4096);
  uint32_t got = 0;
  const uint64_t offset = 0;
  EXPECT_FALSE(a->ReadValue(offset, buffer.data(), 4096, &got));
}

TEST_F(NtfsNonResidentTest, ReportsRealAndAllocatedSizes) {
  auto a = Make(SingleRun(50, 2), 1, 5000);
  uint64_t allocated = 0;
  EXPECT_EQ(a->GetValueSize(&allocated), 5000u);
  EXPECT_EQ(allocated, 8192u);
}

TEST(NtfsResidentValue, ReadsInsideTheValueOnly) {
  NtfsTestVolume v(NtfsImageBuilder().bytes());
  CFileRecord owner(&v.volume);
  const Bytes attr = ResidentAttribute(0x80, Bytes{1, 2, 3, 4, 5});
  CAttrResident a(platform::ByteSpan(attr.data(), attr.size()), owner);
  uint64_t allocated = 0;
  EXPECT_EQ(a.GetValueSize(&allocated), 5u);
  EXPECT_EQ(allocated, 5u);
  struct Case {
    uint64_t offset;
    uint32_t length;
    bool ok;
    uint32_t got;
  };
  const Case cases[] = {{0, 5, true, 5}, {3, 10, true, 2}, {4, 1, true, 1}, {5, 1, false, 0}, {9, 0, true, 0}};
  for (const Case& c : cases) {
    Bytes buffer(16, 0);
    uint32_t got = 99;
    EXPECT_EQ(a.ReadValue(c.offset, buffer.data(), c.length, &got), c.ok) << c.offset;
    EXPECT_EQ(got, c.got) << c.offset;
    if (c.got > 0) {
      EXPECT_EQ(buffer[0], c.offset + 1);
    }
  }
}

}  // namespace
