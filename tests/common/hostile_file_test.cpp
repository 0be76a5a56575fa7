// Damaged and hostile show files: each must end in a clean failure, never a
// crash, a huge allocation or a read outside the slide data.
#include <gtest/gtest.h>

#include <functional>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/show_file.h"
#include "common/format/web_show.h"
#include "common/format/web_show_layout.h"
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

// A web show of one plain slide, damaged by a change to its page.
struct HostileWebCase {
  const char* name;
  std::function<void(std::string& page)> damage;
  int error;
  friend void PrintTo(const HostileWebCase& c, std::ostream* os) { *os << c.name; }
};

class HostileWebShow : public ::testing::TestWithParam<HostileWebCase> {};

TEST_P(HostileWebShow, EndsInItsErrorWhileOpeningOrReading) {
  testing::ScratchFolder dir;
  testing::WriteBytes(dir / "a.jpg", testing::PatternBytes(5000, 1));
  BuildWebShowFile(dir / "show.html", {{"a.jpg", dir / "a.jpg"}}, {}, {"", 3}, {},
                   testing::LeastWebPage());
  const Bytes built = testing::ReadBytes(dir / "show.html");
  std::string page(built.begin(), built.end());
  GetParam().damage(page);
  testing::WriteText(dir / "show.html", page);
  EXPECT_EQ(testing::FailureNumber([&] {
              ShowFile show = ShowFile::Open(dir / "show.html");
              show.ReadPicture(0);
            }),
            GetParam().error);
}

// Where the base64 text of a page begins.
std::size_t TextStart(const std::string& page) {
  return page.find(kWebShowDataMarker) + kWebShowDataMarker.size();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileWebShow,
    ::testing::Values(
        HostileWebCase{"Cut", [](std::string& p) { p.resize(p.size() / 2); }, 136},
        HostileWebCase{"EndingMissing", [](std::string& p) { p.pop_back(); }, 136},
        HostileWebCase{"MarkerMissing", [](std::string& p) { p[p.find("pivolane-show")] = 'P'; },
                       136},
        HostileWebCase{"DataCutShort", [](std::string& p) { p.erase(TextStart(p) + 10, 1); }, 62},
        HostileWebCase{"BadCharacterInAPicture",
                       [](std::string& p) { p[TextStart(p) + 1000] = '*'; }, 62},
        HostileWebCase{"BadCharacterInTheTrailer",
                       [](std::string& p) { p[p.size() - kWebShowEnd.size() - 10] = '-'; }, 62},
        HostileWebCase{"PaddingInside", [](std::string& p) { p[TextStart(p) + 1003] = '='; }, 62},
        HostileWebCase{
            "PaddingMisplaced",
            [](std::string& p) { p.replace(p.size() - kWebShowEnd.size() - 3, 3, "==="); }, 62},
        HostileWebCase{"LineBreaks",
                       [](std::string& p) { p.insert(TextStart(p) + 76, "\r\n\r\n"); }, 62},
        HostileWebCase{"WholeGroupsCutOff",
                       [](std::string& p) { p.erase(p.size() - kWebShowEnd.size() - 8, 8); }, 136}),
    [](const ::testing::TestParamInfo<HostileWebCase>& info) { return info.param.name; });

}  // namespace
}  // namespace pivolane::format
