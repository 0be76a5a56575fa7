// What frmDefMPasse does with the two texts when OK is pressed.
#pragma once

#include <QString>

namespace pivolane::editor {

enum class NewPasswordVerdict {
  kMismatch,    // message 700; both boxes emptied
  kEmpty,       // refused silently
  kOnlySpaces,  // refused silently; both boxes emptied
  kUnstorable,  // a character code page 1252 has no code for; both boxes emptied
  kAccepted,
};

// The checks in their order: the two texts must be equal, then not empty,
// then not only spaces, then storable in a show.
NewPasswordVerdict JudgeNewPassword(const QString& password, const QString& confirmation);

}  // namespace pivolane::editor
