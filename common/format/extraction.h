// Writing the pictures of a show back out as files named after their titles.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/format/show_file.h"

namespace pivolane::format {

// The longest file name, in bytes, that the file systems take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The file name for a slide title (UTF-8) inside a chosen folder. A title is
// never used as a path: "/" and each control character (NUL, a line break, a
// terminal's escape) become "_", and a title that is empty,
// "." or ".." becomes "slide" + its 1-based number. A leading "." becomes "_",
// so that no picture becomes a hidden file, and the name is cut to
// kMaxFileNameBytes at a character boundary.
std::string SafeFileNameForTitle(std::string_view title, int slideNumber);

// The file names of the pictures of show (readable), in show order.
std::vector<std::string> PictureFileNames(ShowFile& show);

// The first picture file name that would replace, in folder, the very file
// that show is read from (under its own name or another of its names);
// nullopt when none would.
std::optional<std::string> NameReplacingTheShow(ShowFile& show,
                                                const std::filesystem::path& folder);
// Throws error 55, naming the file, when NameReplacingTheShow finds one.
void RefuseReplacingTheShow(ShowFile& show, const std::filesystem::path& folder);

enum class OverwriteAnswer { kReplace, kSkip, kStop };

struct ExtractionResult {
  int written = 0;
  bool completed = false;  // false when an overwrite question answered kStop
};

// Writes every picture of show (readable: unlocked or without password) into
// folder under its safe title name. A picture that would replace the show
// itself is refused (RefuseReplacingTheShow) before anything is written. For
// a file that exists already, askOverwrite (given the file name) decides.
// Files are written completely before they replace anything, and flushed to
// disk together (workspace::ReplacingBatch); a failure part way leaves the
// pictures before it in place and nothing of the one that failed.
ExtractionResult ExtractPictures(
    ShowFile& show, const std::filesystem::path& folder,
    const std::function<OverwriteAnswer(const std::string&)>& askOverwrite);

}  // namespace pivolane::format
