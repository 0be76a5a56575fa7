#include "editor/selfrun/selfrun_messages.h"

#include "editor/shell/error_messages.h"

namespace pivolane::editor {

PromptMessage BuildSucceededMessage(const Strings& strings) {
  return {BoxTitle(), strings.LoadMessage(117), PromptMessage::Buttons::kOk,
          PromptMessage::Icon::kInformation};
}

PromptMessage InvalidShowMessage(const Strings& strings) {
  return {BoxTitle(), strings.LoadMessage(136), PromptMessage::Buttons::kOk,
          PromptMessage::Icon::kCritical};
}

PromptMessage ReplacesShowMessage(const Strings& strings, const QString& fileName) {
  return {BoxTitle(), strings.LoadMessage(103) + "\"" + fileName + "\"" + strings.LoadMessage(142),
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation};
}

PromptMessage ExtractionSummary(const Strings& strings, int slideCount, const QString& sourceName,
                                const QString& targetFolder) {
  return {BoxTitle(),
          QString::number(slideCount) + strings.LoadMessage(140) + sourceName + "\n" +
              strings.LoadMessage(141) + targetFolder,
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kInformation};
}

}  // namespace pivolane::editor
