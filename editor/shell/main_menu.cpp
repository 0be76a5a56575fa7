#include "editor/shell/main_menu.h"

#include <QKeySequence>

namespace pivolane::editor {

namespace {

// The desktop's keys for a standard command; where the desktop defines none
// (Save As and Quit on some), the keys most desktops use.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const char* fallback = nullptr) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty() && fallback != nullptr) keys << QKeySequence(fallback);
  return keys;
}

// One press acts once: holding Delete must not remove one slide after another.
void SetShortcuts(QAction& item, const QList<QKeySequence>& keys) {
  item.setShortcuts(keys);
  item.setAutoRepeat(false);
}

void AssignShortcuts(const MainMenu& m) {
  SetShortcuts(*m.mnuNouveau, StandardKeys(QKeySequence::New));
  SetShortcuts(*m.mnuOuvrir, StandardKeys(QKeySequence::Open));
  SetShortcuts(*m.mnuSave, StandardKeys(QKeySequence::Save));
  SetShortcuts(*m.mnuSaveAs, StandardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
  SetShortcuts(*m.mnuQuit, StandardKeys(QKeySequence::Quit, "Ctrl+Q"));
  SetShortcuts(*m.mnuAnnuler, StandardKeys(QKeySequence::Undo));
  SetShortcuts(*m.mnuRetablir, StandardKeys(QKeySequence::Redo));
  SetShortcuts(*m.mnuCouper, StandardKeys(QKeySequence::Cut));
  SetShortcuts(*m.mnuCopier, StandardKeys(QKeySequence::Copy));
  SetShortcuts(*m.mnuColler, StandardKeys(QKeySequence::Paste));
  SetShortcuts(*m.mnuSupprimer, StandardKeys(QKeySequence::Delete));
  SetShortcuts(*m.mnuMonter, {QKeySequence(Qt::CTRL | Qt::Key_Up)});
  SetShortcuts(*m.mnuDescendre, {QKeySequence(Qt::CTRL | Qt::Key_Down)});
  SetShortcuts(*m.mnuVisionner, {QKeySequence(Qt::Key_F5)});
}

class MenuBuilder {
 public:
  explicit MenuBuilder(std::vector<QAction*>& items) : items_(items) {}

  QMenu* TopMenu(QMenuBar& bar, const char* name, const char* caption) {
    return Named(bar.addMenu(caption), name);
  }
  QMenu* SubMenu(QMenu& parent, const char* name, const char* caption) {
    return Named(parent.addMenu(caption), name);
  }
  QAction* Item(QMenu& menu, const char* name, const char* caption) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    action->setMenuRole(QAction::NoRole);
    items_.push_back(action);
    return action;
  }
  QAction* CheckItem(QMenu& menu, const char* name, const char* caption) {
    QAction* action = Item(menu, name, caption);
    action->setCheckable(true);
    return action;
  }
  void Separator(QMenu& menu, const char* name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(name);
    items_.push_back(separator);
  }

 private:
  QMenu* Named(QMenu* menu, const char* name) {
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    items_.push_back(menu->menuAction());
    return menu;
  }
  std::vector<QAction*>& items_;
};

}  // namespace

MainMenu BuildMainMenu(QMenuBar& bar) {
  MainMenu m{};
  MenuBuilder b(m.items);

  m.mnuFichier = b.TopMenu(bar, "mnuFichier", "200");
  m.mnuNouveau = b.Item(*m.mnuFichier, "mnuNouveau", "201");
  m.mnuOuvrir = b.Item(*m.mnuFichier, "mnuOuvrir", "202");
  b.Separator(*m.mnuFichier, "mnuBarre6");
  m.mnuSave = b.Item(*m.mnuFichier, "mnuSave", "203");
  m.mnuSaveAs = b.Item(*m.mnuFichier, "mnuSaveAs", "204");
  b.Separator(*m.mnuFichier, "mnuBarre0");
  m.mnuCreerExe = b.Item(*m.mnuFichier, "mnuCreerExe", "205");
  b.Separator(*m.mnuFichier, "mnuBarre5");
  m.mnuEnregImages = b.Item(*m.mnuFichier, "mnuEnregImages", "207");
  m.mnuExtraireImagesExe = b.Item(*m.mnuFichier, "mnuExtraireImagesExe", "208");
  b.Separator(*m.mnuFichier, "mnuBarre1");
  m.mnuQuit = b.Item(*m.mnuFichier, "mnuQuit", "206");

  m.mnuEdition = b.TopMenu(bar, "mnuEdition", "210");
  m.mnuAnnuler = b.Item(*m.mnuEdition, "mnuAnnuler", "267");
  m.mnuRetablir = b.Item(*m.mnuEdition, "mnuRetablir", "268");
  b.Separator(*m.mnuEdition, "mnuBarre20");
  m.mnuCouper = b.Item(*m.mnuEdition, "mnuCouper", "211");
  m.mnuCopier = b.Item(*m.mnuEdition, "mnuCopier", "212");
  m.mnuColler = b.Item(*m.mnuEdition, "mnuColler", "213");
  b.Separator(*m.mnuEdition, "mnuBarre2");
  m.mnuInsertion = b.Item(*m.mnuEdition, "mnuInsertion", "214");
  b.Separator(*m.mnuEdition, "mnuBarre3");
  m.mnuSupprimer = b.Item(*m.mnuEdition, "mnuSupprimer", "215");
  b.Separator(*m.mnuEdition, "mnuBarre11");
  m.mnuMonter = b.Item(*m.mnuEdition, "mnuMonter", "217");
  m.mnuDescendre = b.Item(*m.mnuEdition, "mnuDescendre", "218");

  m.mnuAffichage = b.TopMenu(bar, "mnuAffichage", "220");
  m.mnuVisionner = b.Item(*m.mnuAffichage, "mnuVisionner", "221");
  m.mnuVoirVignettes = b.CheckItem(*m.mnuAffichage, "mnuVoirVignettes", "269");
  m.mnuDefilement = b.SubMenu(*m.mnuAffichage, "mnuDefilement", "222");
  m.mnuEnBoucle = b.CheckItem(*m.mnuDefilement, "mnuEnBoucle", "223");
  b.Separator(*m.mnuDefilement, "mnuBarre10");
  m.mnuAleatoire = b.CheckItem(*m.mnuDefilement, "mnuAleatoire", "224");
  b.Separator(*m.mnuDefilement, "mnuBarre14");
  m.mnuAfficherTitre = b.CheckItem(*m.mnuDefilement, "mnuAfficherTitre", "225");
  b.Separator(*m.mnuAffichage, "mnuBarre7");
  m.mnuMotDePasse = b.CheckItem(*m.mnuAffichage, "mnuMotDePasse", "226");
  m.mnuChiffrementFort = b.CheckItem(*m.mnuAffichage, "mnuChiffrementFort", "227");

  m.mnuOutils = b.TopMenu(bar, "mnuOutils", "230");
  m.mnuLangue = b.SubMenu(*m.mnuOutils, "mnuLangue", "231");
  m.mnuFrancais = b.CheckItem(*m.mnuLangue, "mnuFrancais", "&Français");
  m.mnuEnglish = b.CheckItem(*m.mnuLangue, "mnuEnglish", "&English");
  b.Separator(*m.mnuOutils, "mnuBarre18");
  m.mnuUpdate = b.Item(*m.mnuOutils, "mnuUpdate", "232");

  m.mnuAide = b.TopMenu(bar, "mnuAide", "&?");
  b.Separator(*m.mnuAide, "mnuBarre4");
  m.mnuApropos = b.Item(*m.mnuAide, "mnuApropos", "241");
  AssignShortcuts(m);
  return m;
}

}  // namespace pivolane::editor
