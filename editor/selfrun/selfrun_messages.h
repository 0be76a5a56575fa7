// The message boxes of building a self-running show and of taking its
// pictures back out.
#pragma once

#include <QString>

#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Message 117: the show was built.
PromptMessage BuildSucceededMessage(const Strings& strings);

// Message 136, critical: the chosen file is no self-running show.
PromptMessage InvalidShowMessage(const Strings& strings);

// Message 103, the quoted file name and message 142, exclamation: a picture
// would replace the very show it is extracted from.
PromptMessage ReplacesShowMessage(const Strings& strings, const QString& fileName);

// After a complete extraction: the slide count, message 140, the show's file
// name, then message 141 and the folder the pictures went to.
PromptMessage ExtractionSummary(const Strings& strings, int slideCount, const QString& sourceName,
                                const QString& targetFolder);

}  // namespace pivolane::editor
