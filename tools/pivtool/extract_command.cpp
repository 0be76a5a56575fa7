#include <filesystem>
#include <ostream>
#include <set>

#include "common/format/extraction.h"
#include "common/io/file.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/printable.h"

namespace pivolane::pivtool {

namespace fs = std::filesystem;

namespace {

// The first file that a picture would replace, whether one already there or
// one of the same show (equal titles).
std::optional<fs::path> FirstReplacedFile(format::ShowFile& show, const fs::path& folder) {
  std::set<std::string> names;
  for (const std::string& name : format::PictureFileNames(show)) {
    if (io::Exists(folder / name) || !names.insert(name).second) return folder / name;
  }
  return std::nullopt;
}

}  // namespace

int ExtractCommand(Arguments args, Streams io) {
  const bool passwordGiven = args.TakeFlag("--password-stdin");
  const bool overwrite = args.TakeFlag("--overwrite");
  const std::optional<std::string> to = args.TakeValue("--to");
  const std::vector<std::string> operands = args.Operands();
  if (operands.size() != 1) throw UsageError("extract needs exactly one FILE");
  const fs::path source = operands.front();
  const fs::path folder = to                             ? fs::path(*to)
                          : source.parent_path().empty() ? fs::path(".")
                                                         : source.parent_path();

  format::ShowFile show = format::ShowFile::Open(source);
  if (show.HasPassword()) {
    if (!passwordGiven) throw UsageError(source.string() + " is protected: give --password-stdin");
    if (!UnlockWithPasswordLine(show, io.in)) {
      io.err << "pivtool: " << source.string() << ": wrong password\n";
      return kWrongPassword;
    }
  }
  format::RefuseReplacingTheShow(show, folder);
  // --to names where the pictures go: made when missing, as an archiver does.
  if (std::error_code made; !fs::create_directories(folder, made) && made) {
    io::ThrowSystemError(made.value(), folder);
  }
  // Without --overwrite nothing is written when any file would be replaced.
  if (const std::optional<fs::path> replaced = FirstReplacedFile(show, folder);
      replaced && !overwrite) {
    io.err << "pivtool: extracting would replace " << Printable(replaced->string())
           << "; give --overwrite to replace it\n";
    return kFileSystem;
  }
  const format::ExtractionResult result = format::ExtractPictures(
      show, folder, [](const std::string&) { return format::OverwriteAnswer::kReplace; });
  io.out << result.written << " picture(s) extracted from " << source.filename().string()
         << " into " << folder.string() << "\n";
  return kDone;
}

}  // namespace pivolane::pivtool
