// The prompts as real message boxes and file dialogs.
#pragma once

#include "editor/shell/prompts.h"

namespace pivolane::editor {

class QtPrompts : public Prompts {
 public:
  PromptAnswer Ask(const PromptMessage& message) override;
  QStringList ChooseFilesToOpen(const OpenFilesRequest& request) override;
  QString ChooseFileToOpen(const OpenFilesRequest& request) override;
  SaveChoice ChooseFileToSave(const SaveFileRequest& request) override;
  QString ChooseFolder(const FolderRequest& request) override;
  std::optional<QString> SetPassword(const Strings& strings, std::int16_t cipherVersion) override;
  std::optional<QString> ReadPassword(const Strings& strings, std::int16_t cipherVersion) override;
};

}  // namespace pivolane::editor
