// File-dialog filters written as "description|patterns|description|patterns",
// the patterns separated by ";".
#pragma once

#include <vector>

#include <QString>

#include "editor/shell/prompts.h"

namespace pivolane::editor {

// A trailing description without patterns is dropped.
std::vector<FileFilter> ParseDialogFilter(const QString& filter);

// The pattern matching names in any case ("*.jpg" gives "*.[jJ][pP][gG]"),
// for the dialogs of desktops that match patterns with case.
QString AnyCasePattern(const QString& pattern);

}  // namespace pivolane::editor
