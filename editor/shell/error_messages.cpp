#include "editor/shell/error_messages.h"

#include "common/errors.h"
#include "common/version.h"
#include "common/workspace/workspace.h"

namespace pivolane::editor {

QString BoxTitle(const char* procTag) {
  return QString(kApplicationTitle) + procTag;
}

QString ErrorLine(const Strings& strings, int number, const std::string& description) {
  return strings.LoadMessage(119) + QString::number(number) + ": " +
         QString::fromStdString(description);
}

PromptMessage DiskFailureMessage(const Strings& strings, const char* procTag,
                                 const std::filesystem::path& path, int number,
                                 const std::string& description) {
  return {BoxTitle(procTag),
          strings.LoadMessage(101) + "\n" + QString::fromStdString(path.string()) + "\n" +
              ErrorLine(strings, number, description),
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation};
}

PromptMessage WipeFailureMessage(const Strings& strings, const std::filesystem::path& path,
                                 int number, const std::string& description) {
  return DiskFailureMessage(strings, " (Proc 104)", path, number, description);
}

void WipeReporting(const std::filesystem::path& path, Prompts& prompts, const Strings& strings) {
  try {
    workspace::WipeAndDeleteFile(path);
  } catch (const Failure& failure) {
    prompts.Ask(WipeFailureMessage(strings, path, failure.number(), failure.description()));
  }
}

}  // namespace pivolane::editor
