// The editor's string table: French messages at their number N, English at
// N + 1000, looked up with the language offset of the interface.
#pragma once

#include <optional>

#include <QString>

#include "editor/strings/language.h"

namespace pivolane::editor {

// The text numbered number (French or English number), if the table has one.
std::optional<QString> FindMessage(int number);

// The table seen in the current interface language.
class Strings {
 public:
  explicit Strings(Language language = Language::kEnglish) { SetLanguage(language); }

  void SetLanguage(Language language) { langOffset_ = language == Language::kFrench ? 0 : 1000; }
  // 0 (French) or 1000 (English).
  int langOffset() const { return langOffset_; }

  // Message number in the current language; throws a Failure for a number
  // without a text (callers only ask for numbers the table holds).
  QString LoadMessage(int number) const;
  // The same, or nothing for a number without a text.
  std::optional<QString> FindLocalMessage(int number) const {
    return FindMessage(number + langOffset_);
  }

 private:
  int langOffset_ = 1000;
};

}  // namespace pivolane::editor
