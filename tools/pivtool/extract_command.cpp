#include <filesystem>
#include <ostream>
#include <set>

#include "common/format/extraction.h"
#include "common/io/file.h"
#include "common/text/cp1252.h"
#include "tools/pivtool/commands.h"

namespace pivolane::pivtool {

namespace fs = std::filesystem;

namespace {

// Without --overwrite nothing is written when any picture would replace a
// file, whether one already there or one of the same show (equal titles).
void RefuseReplacements(format::ShowFile& show, const fs::path& folder) {
  std::set<std::string> names;
  const std::vector<format::SlideEntry>& entries = show.Entries();
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string name = format::SafeFileNameForTitle(
        text::FromCp1252(entries[k].TrimmedTitle()), static_cast<int>(k + 1));
    if (io::Exists(folder / name) || !names.insert(name).second) {
      throw UsageError("extracting would replace " + (folder / name).string() +
                       "; give --overwrite to replace it");
    }
  }
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
  if (!overwrite) RefuseReplacements(show, folder);
  const format::ExtractionResult result = format::ExtractPictures(
      show, folder, [](const std::string&) { return format::OverwriteAnswer::kReplace; });
  io.out << result.written << " picture(s) extracted from " << source.filename().string()
         << " into " << folder.string() << "\n";
  return kDone;
}

}  // namespace pivolane::pivtool
