#include "editor/shell/close_request.h"

#include "common/io/file.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

bool ConfirmClose(DocumentState& document, int slideCount, Prompts& prompts, const Strings& strings,
                  const std::function<void()>& save) {
  if (!document.documentModified) return true;
  const PromptAnswer answer =
      prompts.Ask({BoxTitle(), strings.LoadMessage(111), PromptMessage::Buttons::kYesNoCancel,
                   PromptMessage::Icon::kQuestion});
  switch (answer) {
    case PromptAnswer::kNo:
      document.documentModified = false;
      return true;
    case PromptAnswer::kYes:
      break;
    default:
      return false;
  }
  if (slideCount > 0) {
    save();
    return !document.documentModified;
  }
  const std::filesystem::path path = document.DocumentPath();
  if (!document.docUntitled && io::Exists(path)) WipeReporting(path, prompts, strings);
  document.documentModified = false;
  return true;
}

}  // namespace pivolane::editor
