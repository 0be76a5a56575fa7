// Web shows: the base64 codec, the builder and the names that choose the form.
#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/show_file.h"
#include "common/format/show_forms.h"
#include "common/format/web_show.h"
#include "common/format/web_show_layout.h"
#include "common/text/base64.h"
#include "tests/common/test_support.h"

namespace pivolane::format {
namespace {

using testing::Bytes;
using testing::ReadBytes;

std::string AsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(Base64, EncodesInPiecesOfAnySizeAndDecodesBack) {
  const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"},
                                                         {"\xFF\xEF\xBE", "/+++"}};
  for (const auto& [plain, encoded] : vectors) {
    const Bytes bytes(plain.begin(), plain.end());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
      text::Base64Encoder encoder;
      std::string out;
      encoder.Encode(std::span(bytes).first(cut), out);
      encoder.Encode(std::span(bytes).subspan(cut), out);
      encoder.Finish(out);
      EXPECT_EQ(out, encoded) << plain << " cut at " << cut;
    }
    Bytes decoded(encoded.size() / 4 * 3);
    const std::optional<std::size_t> n =
        text::DecodeBase64(encoded, decoded, text::Base64End::kFinal);
    ASSERT_TRUE(n.has_value()) << encoded;
    decoded.resize(*n);
    EXPECT_EQ(AsString(decoded), plain);
  }
}

TEST(ShowForms, TheNameOrTheChosenFormPicksTheFormAndExtension) {
  struct Case {
    const char* name;
    ShowForm chosen;
    ShowForm form;
    const char* result;
  };
  const Case cases[] = {
      {"show", ShowForm::kProgram, ShowForm::kProgram, "show.exe"},
      {"show", ShowForm::kWebPage, ShowForm::kWebPage, "show.html"},
      {"show.html", ShowForm::kProgram, ShowForm::kWebPage, "show.html"},
      {"SHOW.HTM", ShowForm::kProgram, ShowForm::kWebPage, "SHOW.HTM"},
      {"show.Html", ShowForm::kWebPage, ShowForm::kWebPage, "show.Html"},
      {"show.EXE", ShowForm::kWebPage, ShowForm::kProgram, "show.EXE"},
      {"a.ex", ShowForm::kWebPage, ShowForm::kWebPage, "a.ex.html"},
      {"a.htmlx", ShowForm::kProgram, ShowForm::kProgram, "a.htmlx.exe"},
      {"html", ShowForm::kWebPage, ShowForm::kWebPage, "html.html"},
  };
  for (const Case& c : cases) {
    const NamedShow named = NameForChosenForm(c.name, c.chosen);
    EXPECT_EQ(named.form, c.form) << c.name;
    EXPECT_EQ(named.name, c.result) << c.name;
    EXPECT_EQ(FormOfName(named.name), c.form) << c.name;
  }
}

class WebShowTest : public ::testing::Test {
 protected:
  WebShowTest() : page_(testing::LeastWebPage()), player_(testing::PatternBytes(5000, 7)) {
    // More than one piece of the encoder.
    testing::WriteBytes(dir_ / "a.jpg", testing::PatternBytes(300000, 1));
    testing::WriteBytes(dir_ / "b.gif", testing::PatternBytes(41, 2));
    slides_ = {{"a.jpg", dir_ / "a.jpg"}, {"b.gif", dir_ / "b.gif"}};
  }
  fs::path Page() const { return dir_ / "show.html"; }
  void Build(const ShowOptions& options, const cipher::CryptageXor& cipher,
             std::span<const std::uint8_t> page) {
    BuildWebShowFile(Page(), slides_, options, cipher, player_, page);
  }

  testing::ScratchFolder dir_;
  Bytes page_;
  Bytes player_;
  std::vector<SlideSource> slides_;
};

TEST_F(WebShowTest, ThePageCarriesTheVeryBytesOfTheShowsDocument) {
  const std::size_t head = page_.size() - kWebShowPlaceholder.size() - kWebShowEnd.size();
  for (const bool password : {false, true}) {
    ShowOptions options;
    options.usePassword = password;
    Build(options, {"Sésame", 77}, page_);
    SaveDocumentFile(dir_ / "same.pvl", slides_, options, {"Sésame", 77}, 5000);
    const std::string page = AsString(ReadBytes(Page()));
    EXPECT_EQ(page.substr(0, head), AsString(page_).substr(0, head));
    ASSERT_TRUE(page.ends_with(kWebShowEnd));
    const std::string text = page.substr(head, page.size() - head - kWebShowEnd.size());
    Bytes decoded(text.size() / 4 * 3);
    decoded.resize(text::DecodeBase64(text, decoded, text::Base64End::kFinal).value());
    EXPECT_EQ(decoded, ReadBytes(dir_ / "same.pvl")) << password;
  }
  EXPECT_EQ(ShowFile::Open(Page()).kind(), ShowFileKind::kWebShow);
}

TEST_F(WebShowTest, ATemplateThatWouldNotReadBackBuildsNothing) {
  const std::string marker(kWebShowDataMarker);
  const std::string data = marker + std::string(kWebShowPlaceholder) + std::string(kWebShowEnd);
  const std::string templates[] = {
      "<html>" + data,                                              // no HTML5 page
      "<!DOCTYPE html>" + marker + "x" + data,                      // the marker twice
      "<!DOCTYPE html><p>" + std::string(kWebShowEnd),              // no placeholder
      "<!DOCTYPE html>" + data + std::string(kWebShowPlaceholder),  // two placeholders
      "<!DOCTYPE html>" + data + "<!-- -->",                        // the page goes on
      "<!DOCTYPE html><script>" + std::string(kWebShowPlaceholder) + std::string(kWebShowEnd),
  };
  testing::WriteText(Page(), "former");
  for (const std::string& page : templates) {
    EXPECT_EQ(testing::FailureNumber([&] {
                Build({}, {},
                      std::span(reinterpret_cast<const std::uint8_t*>(page.data()), page.size()));
              }),
              error_number::kInvalidArgument)
        << page;
  }
  EXPECT_EQ(AsString(ReadBytes(Page())), "former");
}

TEST_F(WebShowTest, AFailedBuildLeavesTheFormerPageAndNoScratchFile) {
  Build({}, {}, page_);
  const Bytes before = ReadBytes(Page());
  io::testing::SetWriteBudget(200000);  // runs out inside the first picture
  EXPECT_EQ(testing::FailureNumber([&] { Build({}, {}, page_); }), error_number::kDiskFull);
  io::testing::SetWriteBudget(std::nullopt);
  EXPECT_EQ(ReadBytes(Page()), before);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 3u);  // the two pictures and the page
}

}  // namespace
}  // namespace pivolane::format
