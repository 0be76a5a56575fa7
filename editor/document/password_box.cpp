#include "editor/document/password_box.h"

#include "common/format/payload_layout.h"

namespace pivolane::editor {

QLineEdit* NewPasswordBox(const QString& objectName, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(objectName);
  box->setEchoMode(QLineEdit::Password);
  // The styles' own mask is a bullet.
  box->setStyleSheet("lineedit-password-character: 42");
  return box;
}

QLabel* NewProtectionNote(const Strings& strings, std::int16_t cipherVersion, QWidget* parent) {
  auto* note = new QLabel(
      strings.LoadMessage(cipherVersion == format::kSealedCipherVersion ? 705 : 706), parent);
  note->setObjectName("lblProtection");
  return note;
}

}  // namespace pivolane::editor
