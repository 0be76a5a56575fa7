#include "editor/document/show_reader.h"

#include "common/errors.h"
#include "editor/document/document_messages.h"

namespace pivolane::editor {

std::optional<format::DocumentReadResult> ReadShowDocument(const QString& path,
                                                           const std::filesystem::path& workFolder,
                                                           int& slideCounter, Prompts& prompts,
                                                           const Strings& strings) {
  const auto askPassword = [&](std::int16_t cipherVersion) -> std::optional<std::string> {
    const std::optional<QString> typed = prompts.ReadPassword(strings, cipherVersion);
    if (!typed) return std::nullopt;
    return typed->toStdString();
  };
  try {
    format::DocumentReadResult result =
        format::ReadDocument(path.toStdString(), workFolder, slideCounter, askPassword);
    if (result.outcome == format::DocumentReadResult::Outcome::kWrongPassword) {
      prompts.Ask(WrongPasswordMessage(strings));
      return std::nullopt;
    }
    return result;
  } catch (const Failure& failure) {
    // The core describes its own two errors in English; the editor has texts
    // of its own for them.
    std::string description = failure.description();
    if (failure.number() == error_number::kUnsupportedCipher) {
      prompts.Ask(UnsupportedCipherMessage(strings, " (Proc 102)", path));
      description = UnsupportedCipherText(strings).toStdString();
    } else if (failure.number() == error_number::kInvalidFile) {
      description = strings.LoadMessage(136).toStdString();
    }
    prompts.Ask(OpenFailure(strings, " (Proc 102)", path, failure.number(), description));
    return std::nullopt;
  }
}

}  // namespace pivolane::editor
