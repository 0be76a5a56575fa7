// The launcher's desktop entry, following the freedesktop Desktop Entry rules.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace pivolane::launcher::freedesktop {

// The Exec value that starts program with the one file it is given: the path
// quoted and escaped where it needs it (spaces, quotes, "$", "%", ...), then
// "%f", with the escapes of a string value applied on top.
std::string ExecValue(const std::filesystem::path& program);

// The program that an Exec value starts: its first word, unescaped and
// unquoted; nullopt when the value has no well-formed first word.
std::optional<std::string> ExecProgram(const std::string& execValue);

// The whole desktop entry that opens the document type with launcher.
std::string DesktopEntryText(const std::filesystem::path& launcher);

}  // namespace pivolane::launcher::freedesktop
