// Builds a self-running show from the carried player for the end-to-end
// tests: make_show OUT [--password P] [--cipher 1|2] [--titles] [--loop]
// [--random] [--delay SECONDS] [--language 0|1] TITLE=PICTURE...
// Cipher 2 derives its key at the default cost, as the editor's shows do.
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "player/carried/carried_player.h"
#include "tests/player/show_builder.h"

int main(int argc, char** argv) {
  using namespace pivolane;
  if (argc < 2) {
    std::cerr << "usage: make_show OUT [options] TITLE=PICTURE...\n";
    return 2;
  }
  test_shows::ShowContents contents;
  contents.options.delaySeconds = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
    if (arg == "--password") {
      contents.password = value();
    } else if (arg == "--cipher") {
      contents.options.cipherVersion = static_cast<std::int16_t>(std::stoi(value()));
    } else if (arg == "--titles") {
      contents.options.titles = true;
    } else if (arg == "--loop") {
      contents.options.loop = true;
    } else if (arg == "--random") {
      contents.options.random = true;
    } else if (arg == "--delay") {
      contents.options.delaySeconds = std::stoi(value());
    } else if (arg == "--language") {
      contents.options.language = static_cast<std::uint8_t>(std::stoi(value()));
    } else {
      const std::size_t equals = arg.find('=');
      if (equals == std::string_view::npos) {
        std::cerr << "make_show: expected TITLE=PICTURE, got " << arg << "\n";
        return 2;
      }
      contents.slides.push_back(
          {std::string(arg.substr(0, equals)), std::string(arg.substr(equals + 1))});
    }
  }
  try {
    test_shows::BuildShow(argv[1], CarriedPlayer(), contents);
  } catch (const std::exception& e) {
    std::cerr << "make_show: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
