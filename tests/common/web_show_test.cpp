// Web shows: the base64 codec, the builder and the names that choose the form.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/payload_layout.h"
#include "common/format/show_file.h"
#include "common/format/show_forms.h"
#include "common/format/web_show.h"
#include "common/format/web_show_layout.h"
#include "common/platform/platform.h"
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

TEST(Base64, RefusesWhatIsNotBase64) {
  const std::pair<std::string, text::Base64End> texts[] = {
      {"Zm9", text::Base64End::kFinal},        {"Zm9v*A==", text::Base64End::kFinal},
      {"Zm9v\nYg==", text::Base64End::kFinal}, {"Z===", text::Base64End::kFinal},
      {"Zg=v", text::Base64End::kFinal},       {"Zg==Zm9v", text::Base64End::kFinal},
      {"Zg==", text::Base64End::kMore},        {"Zm9v Yg=", text::Base64End::kFinal}};
  for (const auto& [encoded, end] : texts) {
    Bytes decoded(encoded.size());
    EXPECT_FALSE(text::DecodeBase64(encoded, decoded, end).has_value()) << encoded;
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
    // More than one piece of the encoder and of the reader.
    testing::WriteBytes(dir_ / "a.jpg", testing::PatternBytes(300000, 1));
    testing::WriteBytes(dir_ / "b.gif", testing::PatternBytes(41, 2));
    slides_ = {{"a.jpg", dir_ / "a.jpg"}, {"b.gif", dir_ / "b.gif"}};
  }
  fs::path Page() const { return dir_ / "show.html"; }
  void Build(const ShowOptions& options, const cipher::CryptageXor& cipher,
             std::span<const std::uint8_t> page) {
    BuildWebShowFile(Page(), slides_, options, cipher, player_, page);
  }
  // The bytes that the page's base64 text encodes.
  Bytes EmbeddedBytes() const {
    const Bytes bytes = ReadBytes(Page());
    const std::size_t head = page_.size() - kWebShowPlaceholder.size() - kWebShowEnd.size();
    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(head),
                           bytes.end() - static_cast<std::ptrdiff_t>(kWebShowEnd.size()));
    Bytes decoded(text.size() / 4 * 3);
    decoded.resize(text::DecodeBase64(text, decoded, text::Base64End::kFinal).value());
    return decoded;
  }

  testing::ScratchFolder dir_;
  Bytes page_;
  Bytes player_;
  std::vector<SlideSource> slides_;
};

// Plain, enciphered and sealed at the least cost.
class WebShowCipherTest : public WebShowTest, public ::testing::WithParamInterface<int> {
 protected:
  ShowOptions Options() const {
    ShowOptions options;
    options.usePassword = GetParam() != 0;
    options.cipherVersion = static_cast<std::int16_t>(GetParam() == 0 ? 1 : GetParam());
    options.kdfLimits = cipher::kMinimumKdfLimits;
    return options;
  }
};

TEST_P(WebShowCipherTest, ThePageCarriesTheDocumentAndReadsAsOne) {
  const cipher::CryptageXor cipher{"Sésame", 77};
  Build(Options(), cipher, page_);
  const Bytes bytes = ReadBytes(Page());
  const std::size_t head = page_.size() - kWebShowPlaceholder.size() - kWebShowEnd.size();
  EXPECT_TRUE(
      std::equal(page_.begin(), page_.begin() + static_cast<std::ptrdiff_t>(head), bytes.begin()));
  EXPECT_TRUE(AsString(bytes).ends_with(kWebShowEnd));

  const Bytes document = EmbeddedBytes();
  ShowFile show = ShowFile::Open(Page());
  EXPECT_EQ(show.kind(), ShowFileKind::kWebShow);
  EXPECT_EQ(show.header().PlayerSize, 5000);
  EXPECT_EQ(show.header().CipherVersion, GetParam());
  EXPECT_EQ(show.payloadLength(), document.size() - kTrailerSize);
  if (GetParam() != kSealedCipherVersion) {
    // The very bytes of the document of the same show.
    SaveDocumentFile(dir_ / "same.pvl", slides_, Options(), cipher, 5000);
    EXPECT_EQ(document, ReadBytes(dir_ / "same.pvl"));
  }
  if (show.HasPassword()) {
    EXPECT_FALSE(show.Unlock("sésame"));
    ASSERT_TRUE(show.Unlock("Sésame"));
  }
  for (std::size_t k = 0; k < slides_.size(); ++k) {
    const std::vector<std::uint8_t> picture = show.ReadPicture(k);
    EXPECT_EQ(Bytes(picture.begin(), picture.end()), ReadBytes(slides_[k].file)) << k;
  }

  struct stat st {};
  ASSERT_EQ(::stat(Page().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u & ~platform::CurrentUmask());
}

INSTANTIATE_TEST_SUITE_P(Ciphers, WebShowCipherTest, ::testing::Values(0, 1, 2));

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
