// Slide-show documents (".pvl"): the payload, enciphered as a whole when the
// show has a password, followed by the trailer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_file.h"
#include "common/format/show_writer.h"

namespace pivolane::format {

// Writes the document at target. The document is written completely first
// and only then replaces target (workspace::WriteFileReplacing), so that a
// failure (disk full, folder gone) leaves any former document intact; a
// replaced document keeps its permissions and links.
void SaveDocumentFile(const fs::path& target, const std::vector<SlideSource>& slides,
                      const ShowOptions& options, const cipher::CryptageXor& cipherState,
                      std::int32_t playerSize);

// Asks for the password of a protected show of the cipher version given;
// returns the typed text (UTF-8), or nullopt when the user cancelled.
using PasswordPrompt = std::function<std::optional<std::string>(std::int16_t cipherVersion)>;

struct LoadedSlide {
  std::string title;  // UTF-8, trailing spaces removed
  fs::path workingFile;
};

struct DocumentReadResult {
  enum class Outcome { kOpened, kWrongPassword };
  Outcome outcome = Outcome::kOpened;
  ShowHeader header;
  ShowOptions options;
  // What the password prompt gave, and whether it gave a non-empty text.
  bool passwordEntered = false;
  std::string typedPassword;  // UTF-8
  std::vector<LoadedSlide> slides;
};

// Reads a document: its trailer (136 when it is not a show file), the password
// when it has one (102 for an unknown cipher version, 62 for a hostile key
// derivation, both before the password is asked; a wrong password is an
// outcome, not a failure), then every picture into a new working file of
// workFolder named by NextWorkingFileName. A failure part way leaves no
// working file of this read behind.
DocumentReadResult ReadDocument(const fs::path& path, const fs::path& workFolder, int& slideCounter,
                                const PasswordPrompt& askPassword);

// Writes every picture of a readable show into a new working file of
// workFolder named by NextWorkingFileName, in show order. A failure part way
// wipes the files already written.
std::vector<LoadedSlide> LoadSlides(ShowFile& show, const fs::path& workFolder, int& slideCounter);

// The slides of a readable show as the sources of another show: each
// picture read from show while that one is written.
std::vector<SlideSource> SlideSourcesOf(ShowFile& show);

// The options stored in a header record; a sealed show's limits as stored,
// unchecked.
ShowOptions OptionsFromHeader(const ShowHeader& header);

}  // namespace pivolane::format
