#include "editor/document/retrying.h"

namespace pivolane::editor {

bool RunRetrying(Prompts& prompts, const std::function<PromptMessage(const Failure&)>& describe,
                 const std::function<void()>& step) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const Failure& failure) {
      if (prompts.Ask(describe(failure)) != PromptAnswer::kRetry) return false;
    }
  }
}

}  // namespace pivolane::editor
