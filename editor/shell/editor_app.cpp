#include "editor/shell/editor_app.h"

#include <optional>

#include <QApplication>

#include "common/errors.h"
#include "common/platform/platform.h"
#include "common/version.h"
#include "common/workspace/workspace.h"
#include "editor/shell/command_line.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/frm_main.h"
#include "editor/shell/qt_prompts.h"
#include "editor/shell/settings.h"
#include "editor/shell/start_language.h"
#include "editor/update/update_command.h"

namespace pivolane::editor {

int RunEditor(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationVersion(kVersionText);

  QtPrompts prompts;
  const std::string localeLanguage = platform::LocaleLanguageName();
  std::optional<workspace::Workspace> work;
  try {
    work.emplace(workspace::Workspace::Open("editor"));
  } catch (const Failure& failure) {
    // No window yet: the box speaks the language of the user's locale.
    const Strings strings(DefaultLanguage(localeLanguage));
    prompts.Ask({BoxTitle(),
                 strings.LoadMessage(101) + "\n" +
                     ErrorLine(strings, failure.number(), failure.description()),
                 PromptMessage::Buttons::kOk, PromptMessage::Icon::kCritical});
    return 1;
  }

  EditorSettings settings(EditorSettings::UserStorePath());
  FrmMain window(EditorServices{prompts, settings, work->folder(), localeLanguage});
  UpdateCommand updates(window, settings, prompts, UpdatePlaces::OfThisInstallation());
  window.Load(CommandLineText(QApplication::arguments()));
  window.showMaximized();
  return QApplication::exec();
}

}  // namespace pivolane::editor
