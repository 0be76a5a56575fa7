// File-dialog filters written as "description|patterns|description|patterns",
// the patterns separated by ";".
#pragma once

#include <vector>

#include <QString>

#include "editor/shell/prompts.h"

namespace pivolane::editor {

// A trailing description without patterns is dropped.
std::vector<FileFilter> ParseDialogFilter(const QString& filter);

}  // namespace pivolane::editor
