#include "launcher/freedesktop/key_file.h"

#include <span>

#include "common/io/file.h"
#include "common/workspace/workspace.h"

namespace pivolane::launcher::freedesktop {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key) {
  bool inGroup = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('[')) {
      if (inGroup) return std::nullopt;  // the end of the first such group
      inGroup = line.size() == group.size() + 2 && line.ends_with(']') &&
                line.substr(1, group.size()) == group;
      continue;
    }
    const auto equals = line.find('=');
    if (!inGroup || line.starts_with('#') || equals == std::string_view::npos) continue;
    if (Trimmed(line.substr(0, equals)) == key) {
      const std::string_view value = line.substr(equals + 1);
      return std::string(value.substr(std::min(value.find_first_not_of(" \t"), value.size())));
    }
  }
  return std::nullopt;
}

std::string ReadTextFile(const std::filesystem::path& path) {
  const io::File file(path, io::OpenMode::kRead);
  std::string text(static_cast<std::size_t>(file.Size()), '\0');
  file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
  return text;
}

void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  workspace::WriteFileReplacing(path, [&](io::File& out) {
    out.Append(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  });
}

}  // namespace pivolane::launcher::freedesktop
