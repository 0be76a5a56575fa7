#include "editor/document/new_password.h"

#include "common/cipher/password.h"
#include "common/platform/platform.h"

namespace pivolane::editor {

bool AskNewPassword(Prompts& prompts, const Strings& strings, std::int16_t cipherVersion,
                    cipher::CryptageXor& cipher, DocumentState& document) {
  document.passwordEntered = false;
  const std::optional<QString> password = prompts.SetPassword(strings, cipherVersion);
  if (!password) return false;
  // The dialog accepts only passwords that code page 1252 can hold.
  cipher.currentPassword = cipher::EncodeNewPassword(password->toStdString());
  if (cipher.keyStart == 0) cipher.keyStart = cipher::KeyStartFromUnit(platform::RandomUnit());
  document.passwordEntered = true;
  return true;
}

}  // namespace pivolane::editor
