// Every box of the launcher goes through this interface, so that tests can
// answer them.
#pragma once

#include <string>

namespace pivolane::launcher {

class LauncherPrompts {
 public:
  enum class Answer { kRetry, kCancel };

  virtual ~LauncherPrompts() = default;

  // A modal box with the error icon and the buttons Retry and Cancel.
  virtual Answer RetryOrCancel(const std::string& title, const std::string& text) = 0;
  // A modal box with the error icon and the button OK.
  virtual void ShowError(const std::string& title, const std::string& text) = 0;
};

}  // namespace pivolane::launcher
