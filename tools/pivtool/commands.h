// The commands of pivtool. Each returns the exit status; failures of the core
// are thrown and turned into a status and one line by RunPivtool.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/format/show_file.h"
#include "tools/pivtool/arguments.h"

namespace pivolane::pivtool {

enum ExitStatus : int {
  kDone = 0,
  kUsage = 2,
  kInvalidFile = 3,
  kWrongPassword = 4,
  kFileSystem = 5,
};

struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

int CreateCommand(Arguments args, Streams io);
int InfoCommand(Arguments args, Streams io);
int ExtractCommand(Arguments args, Streams io);
int BuildCommand(Arguments args, Streams io);

// The whole program: words are the arguments after the program name.
int RunPivtool(const std::vector<std::string>& words, Streams io);

// The password given on the first line of standard input, without its line
// end (UTF-8).
std::string ReadPasswordLine(std::istream& in);

// Unlocks a protected show with the password line of in: the password (code
// page 1252), or nullopt when it is wrong.
std::optional<std::string> UnlockWithPasswordLine(format::ShowFile& show, std::istream& in);

}  // namespace pivolane::pivtool
