#include "editor/document/document_messages.h"

#include "common/version.h"
#include "editor/shell/error_messages.h"

namespace pivolane::editor {

PromptMessage SaveChangesQuestion(const Strings& strings) {
  return {BoxTitle(), strings.LoadMessage(114), PromptMessage::Buttons::kYesNoCancel,
          PromptMessage::Icon::kExclamation};
}

PromptMessage OverwriteQuestion(const Strings& strings, const QString& fileName,
                                NameQuotes quotes) {
  const QString quote = quotes == NameQuotes::kQuoted ? "\"" : "";
  return {BoxTitle(),
          strings.LoadMessage(103) + quote + fileName + quote + strings.LoadMessage(104) + "\n" +
              strings.LoadMessage(107),
          PromptMessage::Buttons::kOkCancel, PromptMessage::Icon::kExclamation};
}

PromptMessage SaveFailure(const Strings& strings, const char* procTag, int number,
                          const std::string& description) {
  return {BoxTitle(procTag),
          strings.LoadMessage(101) + "\n" + ErrorLine(strings, number, description),
          PromptMessage::Buttons::kRetryCancel, PromptMessage::Icon::kExclamation};
}

PromptMessage WrongPasswordMessage(const Strings& strings) {
  return {BoxTitle(), strings.LoadMessage(108), PromptMessage::Buttons::kOk,
          PromptMessage::Icon::kCritical};
}

QString UnsupportedCipherText(const Strings& strings) {
  return strings.LoadMessage(109) + kApplicationTitle + " Version " +
         QString::number(kVersionMajor) + "." + QString::number(kVersionMinor) +
         QString::number(kVersionRevision);
}

PromptMessage UnsupportedCipherMessage(const Strings& strings, const char* procTag,
                                       const QString& path) {
  return {BoxTitle(procTag),
          strings.LoadMessage(103) + path + "\n\n" + UnsupportedCipherText(strings) + "\n\n" +
              strings.LoadMessage(135),
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kCritical};
}

PromptMessage OpenFailure(const Strings& strings, const char* procTag, const QString& path,
                          int number, const std::string& description) {
  return {BoxTitle(procTag),
          strings.LoadMessage(132) + "\n" + strings.LoadMessage(133) + path + "\n" +
              ErrorLine(strings, number, description),
          PromptMessage::Buttons::kOk, PromptMessage::Icon::kCritical};
}

}  // namespace pivolane::editor
