#include "common/format/document.h"

#include <utility>

#include "common/cipher/password.h"
#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/io/file.h"
#include "common/parallel/worker_pool.h"
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
    FileEnd out(document);
    BuildPayload(slides, out, header, cipherState);
    AppendHeaderTrailer(header, out);
  });
}

std::vector<LoadedSlide> LoadSlides(ShowFile& show, const fs::path& workFolder, int& slideCounter) {
  const std::vector<SlideEntry>& entries = show.Entries();
  std::vector<LoadedSlide> slides;
  // The next slide's working file is made on the pool while a picture is
  // copied: making a file can take the file system as long as copying a
  // quarter of a megabyte. nextPath is set once the file exists.
  fs::path nextPath;
  io::File next;
  const auto makeNext = [&](std::size_t) {
    fs::path path = workspace::NextWorkingFileName(workFolder, slideCounter);
    next = io::File(path, io::OpenMode::kCreateExclusive);
    nextPath = std::move(path);
  };
  try {
    parallel::Batch making;
    if (!entries.empty()) makeNext(0);
    for (std::size_t k = 0; k < entries.size(); ++k) {
      slides.push_back({text::FromCp1252(entries[k].TrimmedTitle()), std::exchange(nextPath, {})});
      io::File out = std::move(next);
      if (k + 1 < entries.size()) making.Start(1, makeNext);
      show.CopyPicture(k, out);
      out.Close();
      making.Wait();
    }
  } catch (...) {
    // making has waited for its job.
    for (const LoadedSlide& slide : slides) workspace::DiscardFile(slide.workingFile);
    if (!nextPath.empty()) workspace::DiscardFile(nextPath);
    throw;
  }
  return slides;
}

std::vector<SlideSource> SlideSourcesOf(ShowFile& show) {
  const std::vector<SlideEntry>& entries = show.Entries();
  std::vector<SlideSource> slides;
  slides.reserve(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    slides.emplace_back(text::FromCp1252(entries[k].TrimmedTitle()), ShowPicture{&show, k});
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
    if (std::optional<std::string> typed = askPassword(show.header().CipherVersion)) {
      result.typedPassword = std::move(*typed);
    }
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
