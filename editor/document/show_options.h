// The show-wide settings as the main window holds them: the delay control and
// the check marks of the option menu items.
#pragma once

#include <cstdint>

#include "common/format/show_writer.h"
#include "editor/document/document_state.h"
#include "editor/shell/delay_control.h"
#include "editor/shell/main_menu.h"
#include "editor/shell/settings.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// The cipher that a password of the show on view gives: 2 when "Strong
// encryption" is ticked, else 1.
std::int16_t ChosenCipherVersion(const MainMenu& menu);

// The settings to write, with the interface language and the key derivation
// cost of the editor.
format::ShowOptions CurrentShowOptions(const MainMenu& menu, const DelayControl& delay,
                                       const Strings& strings, const DocumentState& document);

// The settings of a new show: the defaults, with the cipher the user chose
// last.
format::ShowOptions NewShowOptions(const EditorSettings& settings);

// Puts settings into the menu and the delay control.
void ApplyShowOptions(const format::ShowOptions& options, MainMenu& menu, DelayControl& delay);

}  // namespace pivolane::editor
