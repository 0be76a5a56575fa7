#include "editor/document/password_box.h"

namespace pivolane::editor {

QLineEdit* NewPasswordBox(const QString& objectName, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(objectName);
  box->setEchoMode(QLineEdit::Password);
  // The styles' own mask is a bullet.
  box->setStyleSheet("lineedit-password-character: 42");
  return box;
}

}  // namespace pivolane::editor
