#include "editor/shell/start_language.h"

namespace pivolane::editor {

Language DefaultLanguage(const std::string& localeLanguageName) {
  return localeLanguageName == "French" ? Language::kFrench : Language::kEnglish;
}

Language ChooseStartLanguage(const EditorSettings& settings,
                             const std::string& localeLanguageName) {
  const auto stored = settings.StoredLanguage();
  const QString index = stored ? stored->trimmed() : QString();
  if (index == "0") return Language::kFrench;
  if (index == "1") return Language::kEnglish;
  // Missing, empty, or a value the editor never writes.
  return DefaultLanguage(localeLanguageName);
}

}  // namespace pivolane::editor
