// Whether the main window may close: unsaved changes are offered for saving.
#pragma once

#include <functional>

#include "editor/document/document_state.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Asks message 111 (Yes, No, Cancel) when the show has unsaved changes.
// Yes with slides runs save and closes only if that cleared the modified
// flag. Yes with no slide left removes the show's document file, if it has
// one: an untitled show has none, so no file of the same name is touched.
bool ConfirmClose(DocumentState& document, int slideCount, Prompts& prompts, const Strings& strings,
                  const std::function<void()>& save);

}  // namespace pivolane::editor
