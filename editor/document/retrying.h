// A step of a command that the user may retry when it fails.
#pragma once

#include <functional>

#include "common/errors.h"
#include "editor/shell/prompts.h"

namespace pivolane::editor {

// Runs step until it succeeds. Each failure is shown with the Retry and
// Cancel box that describe makes of it; Retry runs the step again. Returns
// false when the user cancelled.
bool RunRetrying(Prompts& prompts, const std::function<PromptMessage(const Failure&)>& describe,
                 const std::function<void()>& step);

}  // namespace pivolane::editor
