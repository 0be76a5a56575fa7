#include "common/format/document.h"

#include "common/cipher/password.h"
#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/io/file.h"
#include "common/text/cp1252.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

void SaveDocumentFile(const fs::path& target, const std::vector<SlideSource>& slides,
                      const ShowOptions& options, const cipher::CryptageXor& cipherState,
                      std::int32_t playerSize) {
  // The header and the limits first: a show that cannot be written fails
  // before anything is created.
  const ShowHeader header =
      FillHeaderRecord(options, cipherState, static_cast<int>(slides.size()), playerSize);
  CheckPayloadFits(slides, options);
  workspace::WriteFileReplacing(target, [&](io::File& document) {
    BuildPayload(slides, document, header, cipherState);
    AppendHeaderTrailer(header, document);
  });
}

std::vector<LoadedSlide> LoadSlides(ShowFile& show, const fs::path& workFolder, int& slideCounter) {
  const std::vector<SlideEntry>& entries = show.Entries();
  std::vector<LoadedSlide> slides;
  try {
    for (std::size_t k = 0; k < entries.size(); ++k) {
      const fs::path working = workspace::NextWorkingFileName(workFolder, slideCounter);
      io::File out(working, io::OpenMode::kCreateExclusive);
      slides.push_back({text::FromCp1252(entries[k].TrimmedTitle()), working});
      show.CopyPicture(k, out);
      out.Close();
    }
  } catch (...) {
    for (const LoadedSlide& slide : slides) workspace::DiscardFile(slide.workingFile);
    throw;
  }
  return slides;
}

ShowOptions OptionsFromHeader(const ShowHeader& header) {
  ShowOptions options;
  options.delaySeconds = header.DelaySeconds;
  options.loop = header.LoopFlag != 0;
  options.random = header.RandomFlag != 0;
  options.titles = header.TitlesFlag != 0;
  options.usePassword = header.HasPassword();
  options.language = header.Language;
  if (PayloadLayout::Of(header).sealed) {
    options.cipherVersion = kSealedCipherVersion;
    options.kdfLimits = SealedParameters::Parse(header.PasswordCheck).limits;
  }
  return options;
}

DocumentReadResult ReadDocument(const fs::path& path, const fs::path& workFolder, int& slideCounter,
                                const PasswordPrompt& askPassword) {
  ShowFile show = ShowFile::Open(path, ShowFileKind::kDocument);
  DocumentReadResult result;
  result.header = show.header();
  result.options = OptionsFromHeader(show.header());

  if (show.HasPassword()) {
    show.CheckProtection();  // an unknown cipher or a hostile one, before the password
    if (std::optional<std::string> typed = askPassword()) result.typedPassword = std::move(*typed);
    result.passwordEntered = !result.typedPassword.empty();
    const std::optional<std::string> password = cipher::EncodeTypedPassword(result.typedPassword);
    if (!result.passwordEntered || !password || !show.Unlock(*password)) {
      result.outcome = DocumentReadResult::Outcome::kWrongPassword;
      return result;
    }
  }

  result.slides = LoadSlides(show, workFolder, slideCounter);
  return result;
}

}  // namespace pivolane::format
