// The key files of the freedesktop specifications (desktop entries,
// mimeapps.list): groups in brackets, then "key=value" lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pivolane::launcher::freedesktop {

// The raw value of key in the first group named group; nullopt when the group
// or the key is missing. Spaces around "=" do not count.
std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key);

// A whole text file; raises the file layer's Failure when it cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);

// Writes a whole text file through the replacing primitive, so that nobody ever
// reads half of it; the folder must exist.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

}  // namespace pivolane::launcher::freedesktop
