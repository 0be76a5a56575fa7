#include "editor/shell/picture_folder_copy.h"

#include <filesystem>
#include <string>

#include "common/errors.h"
#include "common/format/extraction.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

namespace {

// The question is in French whatever the interface language.
PromptMessage ReplaceQuestion(const QString& fileName) {
  return {BoxTitle(), "Le fichier: \"" + fileName + "\" existe déjà !\nVoulez vous le remplacer ?",
          PromptMessage::Buttons::kYesNoCancel, PromptMessage::Icon::kExclamation};
}

PromptMessage CopyFailure(const Strings& strings, const Failure& failure) {
  return {BoxTitle(" (Proc 105)"),
          strings.LoadMessage(132) + "\n\n" +
              ErrorLine(strings, failure.number(), failure.description()),
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kCritical};
}

PromptMessage CopySummary(const Strings& strings, int copied, const QString& folder) {
  return {BoxTitle(),
          strings.LoadMessage(137) + "\n\n" + QString::number(copied) + strings.LoadMessage(138) +
              "\n" + folder,
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kInformation};
}

// The working file's bytes as a whole new file that replaces target in one step.
void CopyPicture(const QString& workingFile, const std::filesystem::path& target) {
  const io::File source(workingFile.toStdString(), io::OpenMode::kRead);
  workspace::WriteFileReplacing(
      target, [&](io::File& out) { io::CopyRange(source, 0, source.Size(), out); });
}

}  // namespace

void PictureFolderCopy::SavePicturesToFolder(const QString& startFolder) {
  QString folder = prompts_.ChooseFolder({strings_.LoadMessage(139), startFolder});
  if (folder.isEmpty()) return;
  if (!folder.endsWith('/')) folder += '/';
  // The closing boxes come once the window is usable again.
  try {
    if (const std::optional<int> copied = CopyPictures(folder)) {
      prompts_.Ask(CopySummary(strings_, *copied, folder));
    }
  } catch (const Failure& failure) {
    prompts_.Ask(CopyFailure(strings_, failure));
  }
}

std::optional<int> PictureFolderCopy::CopyPictures(const QString& folder) {
  BusyScope busy(window_);
  int copied = 0;
  for (int index = 1; index <= list_.Count(); ++index) {
    const QTreeWidgetItem* slide = list_.Slide(index);
    // Never a path: a title names a file inside the folder, whatever it holds.
    const QString name =
        QString::fromStdString(format::SafeFileNameForTitle(slide->text(0).toStdString(), index));
    const std::filesystem::path target = (folder + name).toStdString();
    if (io::Exists(target)) {
      const PromptAnswer answer = prompts_.Ask(ReplaceQuestion(name));
      if (answer == PromptAnswer::kCancel) return std::nullopt;
      if (answer == PromptAnswer::kNo) continue;
    }
    CopyPicture(SlideList::Key(slide), target);
    ++copied;
  }
  return copied;
}

}  // namespace pivolane::editor
