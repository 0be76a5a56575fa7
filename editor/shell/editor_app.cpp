#include "editor/shell/editor_app.h"

#include <optional>

#include <QApplication>

#include "common/errors.h"
#include "common/platform/platform.h"
#include "common/version.h"
#include "common/workspace/end_cleanup.h"
#include "common/workspace/workspace.h"
#include "editor/shell/command_line.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/frm_main.h"
#include "editor/shell/lost_window_watch.h"
#include "editor/shell/qt_prompts.h"
#include "editor/shell/roomy_buttons_style.h"
#include "editor/shell/settings.h"
#include "editor/shell/start_language.h"
#include "editor/update/update_command.h"

namespace pivolane::editor {

int RunEditor(int argc, char** argv) {
  // Before Qt: its X11 plugin ends the program with exit() when the display
  // goes away, and nothing is asked then.
  workspace::CleanUpAtAnyEnd();
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationVersion(kVersionText);
  QApplication::setStyle(new RoomyButtonsStyle);  // the application owns it

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
  LostWindowWatch watch(window);
  window.Load(CommandLineText(QApplication::arguments()));
  window.showMaximized();
  return QApplication::exec();
}

}  // namespace pivolane::editor
