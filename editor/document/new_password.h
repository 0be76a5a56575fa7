// Setting the password of the current show through frmDefMPasse.
#pragma once

#include <cstdint>

#include "common/cipher/cryptage_xor.h"
#include "editor/document/document_state.h"
#include "editor/shell/prompts.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// Asks for a new password of a show to be written with cipherVersion. A
// confirmed one becomes the cipher's current password, and keyStart is drawn
// from 1..255 when none was chosen yet, so that a show saved again keeps its
// check value. Returns passwordEntered, which stays false when the user gave
// up.
bool AskNewPassword(Prompts& prompts, const Strings& strings, std::int16_t cipherVersion,
                    cipher::CryptageXor& cipher, DocumentState& document);

}  // namespace pivolane::editor
