// Which commands are available: one rule set by the number of slides, one by
// the selection. The list commands apply the count rules first and the
// selection rules second, so the selection has the last word.
#pragma once

#include "editor/icons/icon_library.h"
#include "editor/shell/delay_control.h"
#include "editor/shell/main_menu.h"
#include "editor/shell/main_toolbar.h"
#include "editor/shell/slide_list.h"
#include "editor/shell/slide_view.h"

namespace pivolane::editor {

class CommandRules {
 public:
  CommandRules(MainMenu& menu, MainToolbar& toolbar, const SlideList& list, SlideView& view,
               DelayControl& delay, const IconLibrary& icons)
      : menu_(menu), toolbar_(toolbar), list_(list), view_(view), delay_(delay), icons_(icons) {}

  void ApplyCountRules();
  void ApplySelectionRules();
  // Up and down by the selected slide's place.
  void ApplyUpDownRules();
  // The four option buttons show their menu check marks; the "Crypte" button
  // shows the closed padlock while a password is used.
  void SyncOptionButtons();

 private:
  // Strong encryption is a choice only while the password option is on.
  void EnableStrongCipher();
  void EnableButton(const char* key, bool enabled);
  void PressButton(const char* key, bool pressed);
  void ShowPadlock(bool closed);

  MainMenu& menu_;
  MainToolbar& toolbar_;
  const SlideList& list_;
  SlideView& view_;
  DelayControl& delay_;
  const IconLibrary& icons_;
};

}  // namespace pivolane::editor
