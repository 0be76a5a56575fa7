// The toolbar tbToolbar: keyed push and check buttons, each running the
// command of a menu item, and the delay control in the "txtDelai" place.
#pragma once

#include <vector>

#include <QAction>
#include <QString>
#include <QToolBar>

#include "editor/icons/icon_library.h"
#include "editor/shell/main_menu.h"

namespace pivolane::editor {

class MainToolbar {
 public:
  // Builds the buttons left to right; delayControl goes in the "txtDelai" place.
  MainToolbar(QToolBar& bar, QWidget& delayControl);

  QToolBar& bar() { return bar_; }
  // The button under key, or nullptr.
  QAction* Button(const QString& key) const;
  // The buttons, without the delay place.
  const std::vector<QAction*>& buttons() const { return buttons_; }

  // Gives every button the icon of its table entry.
  void LoadIcons(const IconLibrary& icons);
  // Shows the icon under iconKey on a button; the key stays readable as the
  // button's "iconKey" property.
  void SetButtonIcon(const QString& key, const QString& iconKey, const IconLibrary& icons);

 private:
  QToolBar& bar_;
  std::vector<QAction*> buttons_;
};

// The menu item whose command the button under key runs; nullptr for a key
// without a command ("VoirVignettes", "txtDelai") or an unknown key. Keys are
// compared exactly, with case.
QAction* CommandOfButton(const MainMenu& menu, const QString& key);

}  // namespace pivolane::editor
