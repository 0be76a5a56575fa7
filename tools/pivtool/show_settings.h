// The show options that create (and build) take on the command line.
#pragma once

#include <istream>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"
#include "tools/pivtool/arguments.h"

namespace pivolane::pivtool {

struct ShowSettings {
  format::ShowOptions options;
  cipher::CryptageXor cipherState;
};

// Takes --delay N (0..255, default 3), --loop, --random, --titles,
// --password-stdin, --key-start N (1..255, default drawn at random) and
// --language fr|en (default en). The password is read from in.
ShowSettings TakeShowSettings(Arguments& args, std::istream& in);

}  // namespace pivolane::pivtool
