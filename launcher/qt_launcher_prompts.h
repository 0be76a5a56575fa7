// The launcher's boxes as Qt message boxes. The application object is made
// with the first box: a start with nothing to report never pays for it.
#pragma once

#include <memory>

#include "launcher/launcher_prompts.h"

class QApplication;

namespace pivolane::launcher {

class QtLauncherPrompts : public LauncherPrompts {
 public:
  // argc and argv outlive the object, as Qt requires.
  QtLauncherPrompts(int& argc, char** argv);
  ~QtLauncherPrompts() override;

  Answer RetryOrCancel(const std::string& title, const std::string& text) override;
  void ShowError(const std::string& title, const std::string& text) override;

 private:
  // False when there is no display to show a box on: the box then goes to the
  // standard error, and Retry/Cancel is answered with Cancel.
  bool Ready();
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;
};

}  // namespace pivolane::launcher
