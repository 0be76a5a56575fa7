// The masked text boxes of the password dialogs.
#pragma once

#include <QLineEdit>
#include <QString>

namespace pivolane::editor {

// A text box that shows "*" for every character typed.
QLineEdit* NewPasswordBox(const QString& objectName, QWidget* parent);

}  // namespace pivolane::editor
