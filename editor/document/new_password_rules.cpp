#include "editor/document/new_password_rules.h"

#include "common/cipher/password.h"
#include "common/errors.h"

namespace pivolane::editor {

NewPasswordVerdict JudgeNewPassword(const QString& password, const QString& confirmation) {
  if (password != confirmation) return NewPasswordVerdict::kMismatch;
  if (password.isEmpty()) return NewPasswordVerdict::kEmpty;
  if (password.count(' ') == password.size()) return NewPasswordVerdict::kOnlySpaces;
  try {
    cipher::EncodeNewPassword(password.toStdString());
  } catch (const Failure&) {
    return NewPasswordVerdict::kUnstorable;
  }
  return NewPasswordVerdict::kAccepted;
}

}  // namespace pivolane::editor
