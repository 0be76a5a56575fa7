#include "launcher/launch_editor.h"

#include "common/errors.h"
#include "common/platform/platform.h"
#include "common/version.h"
#include "launcher/launcher_messages.h"

namespace pivolane::launcher {

std::string CommandLineText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    text += argument;
  }
  return text;
}

std::string EditorParameter(const std::string& commandLine) {
  if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"') {
    return commandLine.substr(1, commandLine.size() - 2);
  }
  return commandLine;
}

std::filesystem::path EditorProgram(const std::filesystem::path& appFolder) {
  return appFolder / "pivedit";
}

void LaunchEditor(const std::string& commandLine, const std::filesystem::path& appFolder,
                  LauncherPrompts& prompts) {
  const std::string parameter = EditorParameter(commandLine);
  std::vector<std::string> arguments;
  if (!parameter.empty()) arguments.push_back(parameter);
  const std::filesystem::path editor = EditorProgram(appFolder);
  try {
    platform::StartDetachedOrThrow(editor, arguments);
  } catch (const Failure& failure) {
    prompts.ShowError(kApplicationTitle,
                      EditorStartFailureText(failure.number(), failure.description(), editor));
  }
}

}  // namespace pivolane::launcher
