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

// A working file that could not be wiped: message 101, the path, the error.
PromptMessage WipeFailureMessage(const Strings& strings, const std::filesystem::path& path,
                                 int number, const std::string& description);

}  // namespace pivolane::editor
