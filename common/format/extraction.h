// Writing the pictures of a show back out as files named after their titles.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/format/show_file.h"

namespace pivolane::format {

// The file name for a slide title (UTF-8) inside a chosen folder. A title is
// never used as a path: "/" and NUL become "_", and a title that is empty,
// "." or ".." becomes "slide" + its 1-based number.
std::string SafeFileNameForTitle(std::string_view title, int slideNumber);

enum class OverwriteAnswer { kReplace, kSkip, kStop };

struct ExtractionResult {
  int written = 0;
  bool completed = false;  // false when an overwrite question answered kStop
};

// Writes every picture of show (readable: unlocked or without password) into
// folder under its safe title name. For a file that exists already,
// askOverwrite (given the file name) decides. Files are written completely
// beside their final name before they replace anything.
ExtractionResult ExtractPictures(
    ShowFile& show, const std::filesystem::path& folder,
    const std::function<OverwriteAnswer(const std::string&)>& askOverwrite);

}  // namespace pivolane::format
