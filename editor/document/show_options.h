// The show-wide settings as the main window holds them: the delay control and
// the check marks of the four option menu items.
#pragma once

#include "common/format/show_writer.h"
#include "editor/shell/delay_control.h"
#include "editor/shell/main_menu.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

// The settings to write, with the interface language.
format::ShowOptions CurrentShowOptions(const MainMenu& menu, const DelayControl& delay,
                                       const Strings& strings);

// Puts settings into the menu and the delay control; the default settings
// are those of a new show.
void ApplyShowOptions(const format::ShowOptions& options, MainMenu& menu, DelayControl& delay);

}  // namespace pivolane::editor
