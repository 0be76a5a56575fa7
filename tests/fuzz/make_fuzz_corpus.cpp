// Writes the fuzzer's starting inputs: a plain document, self-running show and
// web show, and protected ones (password "pw") of both ciphers, all of a few
// small slides.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "common/format/document.h"
#include "common/format/payload_layout.h"
#include "common/format/self_running.h"
#include "common/format/web_show.h"
#include "common/format/web_show_layout.h"

namespace fs = std::filesystem;
using namespace pivolane;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_corpus FOLDER\n";
    return 2;
  }
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  std::vector<format::SlideSource> slides;
  for (int k = 1; k <= 3; ++k) {
    const fs::path picture = folder / ("picture" + std::to_string(k));
    std::ofstream(picture, std::ios::binary)
        << std::string(static_cast<std::size_t>(k * 7), 'a' + k);
    slides.push_back({"slide " + std::to_string(k), picture});
  }
  format::ShowOptions options;
  format::SaveDocumentFile(folder / "plain.pvl", slides, options, {"", 3}, 0);
  // A self-running show around a stand-in for the player.
  const std::vector<std::uint8_t> player = {0x7F, 'E', 'L', 'F', 0, 0, 0, 0};
  format::BuildSelfRunningShowFile(folder / "show.exe", slides, options, {"", 3}, player);
  options.usePassword = true;
  format::SaveDocumentFile(folder / "protected.pvl", slides, options, {"pw", 250}, 0);
  // Sealed at the least cost, so that the fuzzer may derive its key often.
  options.cipherVersion = format::kSealedCipherVersion;
  options.kdfLimits = cipher::kMinimumKdfLimits;
  format::SaveDocumentFile(folder / "sealed.pvl", slides, options, {"pw", 250}, 0);
  format::BuildSelfRunningShowFile(folder / "sealed.exe", slides, options, {"pw", 250}, player);
  // Web shows around the least page that holds the data element.
  const std::string page =
      "<!DOCTYPE html>\n<html><body>\n" + std::string(format::kWebShowDataMarker) +
      std::string(format::kWebShowPlaceholder) + std::string(format::kWebShowEnd);
  const std::span<const std::uint8_t> webPage(reinterpret_cast<const std::uint8_t*>(page.data()),
                                              page.size());
  format::BuildWebShowFile(folder / "sealed.html", slides, options, {"pw", 250}, player, webPage);
  options.usePassword = false;
  format::BuildWebShowFile(folder / "plain.html", slides, options, {"", 3}, player, webPage);

  for (const char* name : {"picture1", "picture2", "picture3"}) fs::remove(folder / name);
  return 0;
}
