#include <exception>

#include "common/errors.h"
#include "common/version.h"
#include "launcher/launch_editor.h"
#include "launcher/launcher_messages.h"
#include "launcher/mod_main.h"
#include "launcher/qt_launcher_prompts.h"

int main(int argc, char** argv) {
  using namespace pivolane;
  launcher::QtLauncherPrompts prompts(argc, argv);
  try {
    launcher::Main(launcher::CommandLineText({argv + 1, argv + argc}), prompts);
  } catch (const Failure& failure) {
    prompts.ShowError(kApplicationTitle,
                      launcher::ErrorLine(failure.number(), failure.description()));
    return 1;
  } catch (const std::exception& failure) {
    prompts.ShowError(kApplicationTitle, failure.what());
    return 1;
  }
  return 0;
}
