// The show options that create (and build) take on the command line.
#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"
#include "tools/pivtool/arguments.h"

namespace pivolane::pivtool {

struct ShowSettings {
  format::ShowOptions options;
  cipher::CryptageXor cipherState;
};

// Takes --delay N (0..255, default 3), --loop, --random, --titles,
// --password-stdin, --key-start N (1..255, default drawn at random),
// --language fr|en (default en), --cipher 1|2 (with the password only;
// default 2) and for version 2 --kdf-passes N and --kdf-memory KIB (a power
// of two; the default cost unless given). The password is read from in.
ShowSettings TakeShowSettings(Arguments& args, std::istream& in);

// What create and build write: the output file, then the pictures, each
// titled with its file name, in the order given, with the show settings.
struct ShowRequest {
  std::filesystem::path output;
  std::vector<format::SlideSource> slides;
  ShowSettings settings;
};

// usage is the complaint when the output or the pictures are missing.
ShowRequest TakeShowRequest(Arguments& args, std::istream& in, const std::string& usage);

}  // namespace pivolane::pivtool
