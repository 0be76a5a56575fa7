// Writes the fuzzer's starting inputs: a plain document, a protected one
// (password "pw") and a self-running show, all of a few small slides.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "common/format/document.h"

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
  options.usePassword = true;
  format::SaveDocumentFile(folder / "protected.pvl", slides, options, {"pw", 250}, 0);

  // A self-running show: a stand-in for the player, the payload, 0x00, trailer.
  const std::string player = std::string(
                                 "\x7F"
                                 "ELF",
                                 4) +
                             std::string(60, '\0');
  std::ifstream plain(folder / "plain.pvl", std::ios::binary);
  const std::string document((std::istreambuf_iterator<char>(plain)),
                             std::istreambuf_iterator<char>());
  format::ShowHeader header = format::ShowHeader::Parse(std::span<const std::uint8_t, 155>(
      reinterpret_cast<const std::uint8_t*>(document.data()) + document.size() - 156, 155));
  header.PlayerSize = static_cast<std::int32_t>(player.size());
  const auto record = header.Serialize();
  std::ofstream show(folder / "show.exe", std::ios::binary);
  show << player << document.substr(0, document.size() - 156) << '\0'
       << std::string(record.begin(), record.end()) << '\0';

  for (const char* name : {"picture1", "picture2", "picture3"}) fs::remove(folder / name);
  return 0;
}
