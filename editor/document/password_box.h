// The masked text boxes of the password dialogs, and the line under them
// that says what the show's password protects.
#pragma once

#include <cstdint>

#include <QLabel>
#include <QLineEdit>
#include <QString>

#include "editor/strings/string_table.h"

namespace pivolane::editor {

// A text box that shows "*" for every character typed.
QLineEdit* NewPasswordBox(const QString& objectName, QWidget* parent);

// For a show of cipherVersion: with the strong cipher, that a long passphrase
// of several words is what keeps it secret (705); with the XOR cipher, that
// it only hides the pictures from a casual look (706).
QLabel* NewProtectionNote(const Strings& strings, std::int16_t cipherVersion, QWidget* parent);

}  // namespace pivolane::editor
