#include "launcher/freedesktop/mimeapps_list.h"

#include <string_view>

#include "launcher/freedesktop/key_file.h"

namespace pivolane::launcher::freedesktop {

namespace {

constexpr std::string_view kGroup = "Default Applications";

// Where the line after the group's last non-empty line begins; npos when the
// text has no such group.
std::size_t EndOfGroup(const std::string& text) {
  const std::string header = "[" + std::string(kGroup) + "]";
  std::size_t insertAt = std::string::npos;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string::npos ? text.size() : newline;
    const std::size_t after = newline == std::string::npos ? end : end + 1;
    std::string_view line(text.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('[')) {
      if (insertAt != std::string::npos) break;  // the next group
      if (line == header) insertAt = after;
    } else if (insertAt != std::string::npos && !line.empty()) {
      insertAt = after;
    }
    start = after;
  }
  return insertAt;
}

}  // namespace

std::optional<std::string> WithDefaultApplication(const std::string& text,
                                                  const std::string& mimeType,
                                                  const std::string& desktopId) {
  if (KeyFileValue(text, kGroup, mimeType)) return std::nullopt;
  const std::string entry = mimeType + "=" + desktopId + "\n";
  std::string result = text;
  std::size_t insertAt = EndOfGroup(text);
  if (insertAt == std::string::npos) {
    if (!result.empty() && !result.ends_with('\n')) result += '\n';
    if (!result.empty()) result += '\n';
    return result + "[" + std::string(kGroup) + "]\n" + entry;
  }
  // A last line without its ending gets one before the new line.
  if (insertAt == result.size() && !result.ends_with('\n')) {
    result += '\n';
    ++insertAt;
  }
  result.insert(insertAt, entry);
  // The file's last line, in a group after the one changed, keeps its line
  // ending too: tools that read whole lines would miss it.
  if (!result.ends_with('\n')) result += '\n';
  return result;
}

}  // namespace pivolane::launcher::freedesktop
