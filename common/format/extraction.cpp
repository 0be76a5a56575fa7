#include "common/format/extraction.h"

#include "common/io/file.h"
#include "common/text/cp1252.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

std::string SafeFileNameForTitle(std::string_view title, int slideNumber) {
  if (title.empty() || title == "." || title == "..") return "slide" + std::to_string(slideNumber);
  std::string name(title);
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  return name;
}

ExtractionResult ExtractPictures(
    ShowFile& show, const std::filesystem::path& folder,
    const std::function<OverwriteAnswer(const std::string&)>& askOverwrite) {
  ExtractionResult result;
  const std::vector<SlideEntry>& entries = show.Entries();
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string name =
        SafeFileNameForTitle(text::FromCp1252(entries[k].TrimmedTitle()), static_cast<int>(k + 1));
    const std::filesystem::path target = folder / name;
    if (io::Exists(target)) {
      const OverwriteAnswer answer = askOverwrite(name);
      if (answer == OverwriteAnswer::kStop) return result;
      if (answer == OverwriteAnswer::kSkip) continue;
    }
    workspace::WriteFileReplacing(target, [&](io::File& out) { show.CopyPicture(k, out); });
    ++result.written;
  }
  result.completed = true;
  return result;
}

}  // namespace pivolane::format
