// Which interface language the editor starts in.
#pragma once

#include <string>

#include "editor/shell/settings.h"
#include "editor/strings/language.h"

namespace pivolane::editor {

// French exactly when the English name of the locale's language is "French";
// any other name, or none, gives English.
Language DefaultLanguage(const std::string& localeLanguageName);

// "Langue" from the settings when it holds "0" or "1"; otherwise the language
// of the user's locale.
Language ChooseStartLanguage(const EditorSettings& settings, const std::string& localeLanguageName);

}  // namespace pivolane::editor
