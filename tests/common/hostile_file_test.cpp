// Damaged and hostile show files: each must end in a clean failure, never a
// crash, a huge allocation or a read outside the slide data.
#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/show_file.h"
#include "common/io/file.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

using testing::Bytes;

struct RawEntry {
  std::int32_t size;
  std::int32_t offset;
};

// A document with hand-written entries over a body of bodySize bytes.
Bytes RawDocument(std::int16_t count, const std::vector<RawEntry>& entries, std::size_t bodySize) {
  Bytes bytes;
  for (const RawEntry& raw : entries) {
    SlideEntry e;
    e.Title = TitleField("t");
    e.PictureSize = raw.size;
    e.PictureOffset = raw.offset;
    const auto b = e.Serialize();
    bytes.insert(bytes.end(), b.begin(), b.end());
  }
  bytes.resize(bytes.size() + bodySize, 0x55);
  ShowHeader h;
  h.VersionTag = VersionTagFor("100");
  h.SlideCount = count;
  h.keyStart = 1;
  const auto record = h.Serialize();
  bytes.insert(bytes.end(), record.begin(), record.end());
  bytes.push_back(0);
  return bytes;
}

struct HostileCase {
  const char* name;
  Bytes document;
  friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

class HostileDocument : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileDocument, EndsInTheDamagedFileErrorAndLeavesNoWorkingFile) {
  testing::ScratchFolder dir;
  fs::create_directories(dir / "work");
  testing::WriteBytes(dir / "bad.pvl", GetParam().document);
  int counter = 0;
  try {
    ReadDocument(dir / "bad.pvl", dir / "work", counter, [](std::int16_t) { return std::nullopt; });
    FAIL() << "read a damaged file";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 62) << f.description();
  }
  EXPECT_TRUE(fs::is_empty(dir / "work"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileDocument,
    ::testing::Values(HostileCase{"NegativeCount", RawDocument(-1, {}, 10)},
                      HostileCase{"EntriesPastTheEnd", RawDocument(200, {{1, 136}}, 10)},
                      HostileCase{"PicturePastTheEnd", RawDocument(1, {{100, 136}}, 10)},
                      HostileCase{"ClaimsTwoGigabytes", RawDocument(1, {{0x7FFFFFFF, 136}}, 10)},
                      HostileCase{"OffsetPastTheEnd", RawDocument(1, {{1, 0x7FFFFFF0}}, 10)},
                      HostileCase{"NegativeSize", RawDocument(1, {{-5, 136}}, 10)},
                      HostileCase{"NegativeOffset", RawDocument(1, {{5, -136}}, 10)},
                      HostileCase{"PictureOverTheEntries",
                                  RawDocument(2, {{10, 100}, {10, 272}}, 20)},
                      HostileCase{"PicturesOverlap", RawDocument(2, {{10, 272}, {10, 277}}, 30)}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

TEST(HostileSelfRunningShow, APlayerSizePastTheEndIsDamaged) {
  testing::ScratchFolder dir;
  for (const std::int32_t playerSize : {-1, 1000, 0x7FFFFFFF}) {
    Bytes bytes = {0x7F, 'E', 'L', 'F'};
    bytes.resize(300, 0);
    ShowHeader h;
    h.VersionTag = VersionTagFor("100");
    h.PlayerSize = playerSize;
    const auto record = h.Serialize();
    bytes.insert(bytes.end(), record.begin(), record.end());
    bytes.push_back(0);
    testing::WriteBytes(dir / "show.exe", bytes);
    try {
      ShowFile::Open(dir / "show.exe");
      FAIL() << playerSize;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), 62);
    }
  }
}

TEST(HostileSelfRunningShow, EntriesAreReadOnlyWithinThePayload) {
  testing::ScratchFolder dir;
  // A player part of 300 bytes whose content looks like entries: the reader
  // must not take it for the payload.
  Bytes bytes = {0x7F, 'E', 'L', 'F'};
  bytes.resize(300, 0x41);
  const Bytes payload = RawDocument(1, {{10, 136}}, 10);
  bytes.insert(bytes.end(), payload.begin(), payload.end() - 156);
  bytes.push_back(0);
  ShowHeader h = ShowHeader::Parse(
      std::span<const std::uint8_t, 155>(payload.data() + payload.size() - 156, 155));
  h.PlayerSize = 300;
  h.SlideCount = 2;  // one more entry than the payload holds
  const auto record = h.Serialize();
  bytes.insert(bytes.end(), record.begin(), record.end());
  bytes.push_back(0);
  testing::WriteBytes(dir / "show.exe", bytes);
  ShowFile show = ShowFile::Open(dir / "show.exe");
  EXPECT_EQ(show.kind(), ShowFileKind::kSelfRunning);
  EXPECT_EQ(show.payloadOffset(), 300u);
  EXPECT_THROW(show.Entries(), Failure);
}

}  // namespace
}  // namespace pivolane::format
