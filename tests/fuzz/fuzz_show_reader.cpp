// libFuzzer target: any bytes given as a document, a self-running show or a
// web show must end in a Failure or a clean read, never a crash, a leak or a
// read outside the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/format/show_file.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/workspace/workspace.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Scratch() {
  static const fs::path folder = [] {
    fs::path f = pivolane::platform::TempFolder() / ("fuzz-" + std::to_string(::getpid()));
    fs::create_directories(f / "work");
    return f;
  }();
  return folder;
}

void ReadEveryPicture(pivolane::format::ShowFile& show) {
  if (show.HasPassword() && !show.Unlock("pw")) return;
  const auto& entries = show.Entries();
  for (std::size_t k = 0; k < entries.size(); ++k) show.ReadPicture(k);
}

bool CheapToDerive(const pivolane::format::ShowHeader& header) {
  if (!pivolane::format::PayloadLayout::Of(header).sealed) return true;
  const pivolane::cipher::KdfLimits limits =
      pivolane::format::SealedParameters::Parse(header.PasswordCheck).limits;
  return limits.passes <= 2 && limits.memoryBytes <= (64 << 10);
}

// A sealed show costs one key derivation per input: only the tiny ones of
// the corpus go through it, so that no input takes a second or a gigabyte.
// Every check before the derivation runs for all of them. Both trailers
// count: the file's own, and that of the document a web show carries.
bool CheapToUnlock(const fs::path& input) {
  try {
    const pivolane::io::File file(input, pivolane::io::OpenMode::kRead);
    if (!CheapToDerive(pivolane::format::ReadHeaderTrailer(file))) return false;
  } catch (const pivolane::Failure&) {
    // no trailer: every reader of the file itself stops before any derivation
  }
  try {
    return CheapToDerive(
        pivolane::format::ShowFile::Open(input, pivolane::format::ShowFileKind::kWebShow).header());
  } catch (const pivolane::Failure&) {
    return true;  // no web show, or none whose document has a trailer
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path input = Scratch() / "input";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const bool cheap = CheapToUnlock(input);
  try {
    pivolane::format::ShowFile show = pivolane::format::ShowFile::Open(input);
    show.CheckProtection();
    if (cheap) ReadEveryPicture(show);
  } catch (const pivolane::Failure&) {
  }
  if (!cheap) return 0;
  int counter = 0;
  try {
    pivolane::format::ReadDocument(input, Scratch() / "work", counter,
                                   [](std::int16_t) { return std::optional<std::string>("pw"); });
  } catch (const pivolane::Failure&) {
  }
  pivolane::workspace::CleanWorkFolder(Scratch() / "work", counter);
  return 0;
}
