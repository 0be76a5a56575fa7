#include <istream>
#include <ostream>

#include "common/cipher/password.h"
#include "common/errors.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/printable.h"

namespace pivolane::pivtool {

namespace {

constexpr const char* kUsageText =
    "usage: pivtool create OUT.pvl [--delay N] [--loop] [--random] [--titles]\n"
    "                      [--password-stdin] [--key-start N] [--language fr|en]\n"
    "                      [--cipher 1|2] [--kdf-passes N] [--kdf-memory KIB] PICTURE...\n"
    "       pivtool build OUT.exe|OUT.html [the options of create] PICTURE...\n"
    "       pivtool build OUT.exe|OUT.html --from DOC.pvl [--password-stdin]\n"
    "       pivtool info FILE [--password-stdin]\n"
    "       pivtool extract FILE [--to DIR] [--password-stdin] [--overwrite]\n"
    "The password is read from the first line of standard input.\n";

int StatusFor(const Failure& failure) {
  switch (failure.number()) {
    case error_number::kInvalidFile:
    case error_number::kPastEndOfFile:
    case error_number::kUnsupportedCipher:
      return kInvalidFile;
    case error_number::kInvalidArgument:
      return kUsage;
    default:
      return kFileSystem;
  }
}

}  // namespace

std::string ReadPasswordLine(std::istream& in) {
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> UnlockWithPasswordLine(format::ShowFile& show, std::istream& in) {
  std::optional<std::string> password = cipher::EncodeTypedPassword(ReadPasswordLine(in));
  if (!password || !show.Unlock(*password)) return std::nullopt;
  return password;
}

int RunPivtool(const std::vector<std::string>& words, Streams io) {
  if (words.empty() || words.front() == "--help" || words.front() == "-h") {
    (words.empty() ? io.err : io.out) << kUsageText;
    return words.empty() ? kUsage : kDone;
  }
  const std::string& command = words.front();
  Arguments args(std::vector<std::string>(words.begin() + 1, words.end()));
  try {
    if (command == "create") return CreateCommand(std::move(args), io);
    if (command == "info") return InfoCommand(std::move(args), io);
    if (command == "extract") return ExtractCommand(std::move(args), io);
    if (command == "build") return BuildCommand(std::move(args), io);
    throw UsageError("unknown command \"" + command + "\"");
  } catch (const UsageError& e) {
    io.err << "pivtool: " << e.what() << "\n" << kUsageText;
    return kUsage;
  } catch (const Failure& f) {
    io.err << "pivtool: ";
    if (!f.path().empty()) io.err << Printable(f.path()) << ": ";
    io.err << "error " << f.number() << ": " << Printable(f.description()) << "\n";
    return StatusFor(f);
  }
}

}  // namespace pivolane::pivtool
