// The prompts as real message boxes and file dialogs.
#pragma once

#include "editor/shell/prompts.h"

namespace pivolane::editor {

class QtPrompts : public Prompts {
 public:
  PromptAnswer Ask(const PromptMessage& message) override;
  QStringList ChooseFilesToOpen(const OpenFilesRequest& request) override;
};

}  // namespace pivolane::editor
