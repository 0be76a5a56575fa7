#include "common/format/extraction.h"

#include <algorithm>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/text/cp1252.h"
#include "common/text/utf8.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

std::string SafeFileNameForTitle(std::string_view title, int slideNumber) {
  if (title.empty() || title == "." || title == "..") return "slide" + std::to_string(slideNumber);
  std::string name;
  for (std::size_t i = 0; i < title.size();) {
    const std::size_t control = text::ControlCharacterLength(title, i);
    name += control > 0 || title[i] == '/' ? '_' : title[i];
    i += std::max<std::size_t>(control, 1);
  }
  if (name.front() == '.') name.front() = '_';
  return std::string(text::CutAtCharacter(name, kMaxFileNameBytes));
}

std::vector<std::string> PictureFileNames(ShowFile& show) {
  const std::vector<SlideEntry>& entries = show.Entries();
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    names.push_back(
        SafeFileNameForTitle(text::FromCp1252(entries[k].TrimmedTitle()), static_cast<int>(k + 1)));
  }
  return names;
}

std::optional<std::string> NameReplacingTheShow(ShowFile& show,
                                                const std::filesystem::path& folder) {
  for (const std::string& name : PictureFileNames(show)) {
    if (show.IsReadFrom(folder / name)) return name;
  }
  return std::nullopt;
}

void RefuseReplacingTheShow(ShowFile& show, const std::filesystem::path& folder) {
  // The later pictures would have nothing left to be read from.
  if (const std::optional<std::string> name = NameReplacingTheShow(show, folder)) {
    throw Failure(error_number::kFileAlreadyOpen,
                  "A picture would replace " + (folder / *name).string() +
                      ", the show it is taken from; extract into another folder");
  }
}

ExtractionResult ExtractPictures(
    ShowFile& show, const std::filesystem::path& folder,
    const std::function<OverwriteAnswer(const std::string&)>& askOverwrite) {
  RefuseReplacingTheShow(show, folder);
  ExtractionResult result;
  const std::vector<std::string> names = PictureFileNames(show);
  // The pictures reach the disk together; those written before a failure or
  // a stop are still put in place, as when each was flushed on its own.
  workspace::ReplacingBatch batch;
  const auto extract = [&] {
    for (std::size_t k = 0; k < names.size(); ++k) {
      const std::filesystem::path target = folder / names[k];
      if (io::Exists(target) || batch.Holds(target)) {
        const OverwriteAnswer answer = askOverwrite(names[k]);
        if (answer == OverwriteAnswer::kStop) return;
        if (answer == OverwriteAnswer::kSkip) continue;
      }
      batch.Add(target, [&](io::File& out) { show.CopyPicture(k, out); });
      ++result.written;
    }
    result.completed = true;
  };
  try {
    extract();
  } catch (const Failure&) {
    batch.Commit();
    throw;
  }
  batch.Commit();
  return result;
}

}  // namespace pivolane::format
