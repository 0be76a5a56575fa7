// The image list of the main window: the editor's icons under their keys.
#pragma once

#include <map>

#include <QIcon>
#include <QString>

namespace pivolane::editor {

class IconLibrary {
 public:
  // Loads every icon of the program's resources.
  IconLibrary();

  // The icon under key ("Nouveau", "Diapo", "K2ferme", ...); a null icon for
  // an unknown key.
  QIcon Icon(const QString& key) const;
  // A slide of the list: "Diapo", and "Diaposelect" while it is selected.
  QIcon SlideIcon() const;
  // The program icon "DEFILEMENT".
  QIcon ProgramIcon() const { return programIcon_; }

 private:
  std::map<QString, QIcon> icons_;
  QIcon programIcon_;
};

// The program icon "DEFILEMENT" alone, for the editor's smaller windows.
QIcon LoadProgramIcon();

}  // namespace pivolane::editor
