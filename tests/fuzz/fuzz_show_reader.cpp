// libFuzzer target: any bytes given as a document or a self-running show must
// end in a Failure or a clean read, never a crash, a leak or a read outside
// the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "common/errors.h"
#include "common/format/document.h"
#include "common/format/show_file.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path input = Scratch() / "input";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    pivolane::format::ShowFile show = pivolane::format::ShowFile::Open(input);
    ReadEveryPicture(show);
  } catch (const pivolane::Failure&) {
  }
  int counter = 0;
  try {
    pivolane::format::ReadDocument(input, Scratch() / "work", counter,
                                   [] { return std::optional<std::string>("pw"); });
  } catch (const pivolane::Failure&) {
  }
  pivolane::workspace::CleanWorkFolder(Scratch() / "work", counter);
  return 0;
}
