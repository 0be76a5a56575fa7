// The error boxes shared by the editor's commands.
#pragma once

#include <filesystem>
#include <string>

#include <QString>

#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// The application title, followed by a procedure tag such as " (Proc 104)".
QString BoxTitle(const char* procTag = "");

// Message 119, the error number, ": " and the description.
QString ErrorLine(const Strings& strings, int number, const std::string& description);

// A file that could not be written or removed: message 101, the path, the
// error; OK, exclamation, under procTag.
PromptMessage DiskFailureMessage(const Strings& strings, const char* procTag,
                                 const std::filesystem::path& path, int number,
                                 const std::string& description);

// A working file that could not be wiped: the disk failure under " (Proc 104)".
PromptMessage WipeFailureMessage(const Strings& strings, const std::filesystem::path& path,
                                 int number, const std::string& description);

// Wipes and deletes a file; a failure is shown in the wipe-failure box.
void WipeReporting(const std::filesystem::path& path, Prompts& prompts, const Strings& strings);

}  // namespace pivolane::editor
