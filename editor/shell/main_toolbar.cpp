#include "editor/shell/main_toolbar.h"

namespace pivolane::editor {

namespace {

constexpr const char* kDelayPlace = "txtDelai";

struct ToolbarButton {
  const char* key;
  bool check;
  const char* iconKey;
  int tip;                      // message number of the tooltip
  QAction* MainMenu::*command;  // the menu item it stands for
};

constexpr ToolbarButton kButtons[] = {
    {"Nouveau", false, "Nouveau", 250, &MainMenu::mnuNouveau},
    {"Ouvrir", false, "Ouvrir", 251, &MainMenu::mnuOuvrir},
    {"Enregistrer", false, "Enregistrer", 252, &MainMenu::mnuSave},
    {"CreerExe", false, "CreerExe", 253, &MainMenu::mnuCreerExe},
    {"Couper", false, "Couper", 254, &MainMenu::mnuCouper},
    {"Copier", false, "Copier", 255, &MainMenu::mnuCopier},
    {"Coller", false, "Coller", 256, &MainMenu::mnuColler},
    {"AjouterDiapo", false, "Diapo", 257, &MainMenu::mnuInsertion},
    {"SupprimerDiapo", false, "Supprimer", 258, &MainMenu::mnuSupprimer},
    {kDelayPlace, false, nullptr, 0, nullptr},
    {"Enboucle", true, "Enboucle", 259, &MainMenu::mnuEnBoucle},
    {"Aleatoire", true, "Aleatoire", 260, &MainMenu::mnuAleatoire},
    {"Affichertitre", true, "Affichertitre", 261, &MainMenu::mnuAfficherTitre},
    {"Crypte", true, "K2ouv", 262, &MainMenu::mnuMotDePasse},
    {"VoirVignettes", true, "Voirvignettes", 263, nullptr},
    {"Flechehaut", false, "Flechehaut", 264, &MainMenu::mnuMonter},
    {"Flechebas", false, "Flechebas", 265, &MainMenu::mnuDescendre},
    {"Visionner", false, "Visionner", 266, &MainMenu::mnuVisionner},
};

// Groups of related buttons are set apart.
bool SeparatorBefore(const QString& key) {
  return key == "Couper" || key == "AjouterDiapo" || key == kDelayPlace || key == "Enboucle" ||
         key == "Flechehaut" || key == "Visionner";
}

}  // namespace

MainToolbar::MainToolbar(QToolBar& bar, QWidget& delayControl) : bar_(bar) {
  bar_.setObjectName("tbToolbar");
  bar_.setMovable(false);
  bar_.setFloatable(false);
  for (const ToolbarButton& entry : kButtons) {
    if (SeparatorBefore(entry.key)) bar_.addSeparator();
    if (QString(entry.key) == kDelayPlace) {
      bar_.addWidget(&delayControl)->setObjectName(kDelayPlace);
      continue;
    }
    QAction* button = bar_.addAction(QString());
    button->setObjectName(entry.key);
    button->setCheckable(entry.check);
    button->setProperty("tag", entry.tip);
    buttons_.push_back(button);
  }
}

QAction* MainToolbar::Button(const QString& key) const {
  for (QAction* button : buttons_) {
    if (button->objectName() == key) return button;
  }
  return nullptr;
}

void MainToolbar::LoadIcons(const IconLibrary& icons) {
  for (const ToolbarButton& entry : kButtons) {
    if (entry.iconKey != nullptr) SetButtonIcon(entry.key, entry.iconKey, icons);
  }
}

void MainToolbar::SetButtonIcon(const QString& key, const QString& iconKey,
                                const IconLibrary& icons) {
  QAction* button = Button(key);
  button->setIcon(icons.Icon(iconKey));
  button->setProperty("iconKey", iconKey);
}

QAction* CommandOfButton(const MainMenu& menu, const QString& key) {
  for (const ToolbarButton& entry : kButtons) {
    if (key == entry.key) return entry.command == nullptr ? nullptr : menu.*entry.command;
  }
  return nullptr;
}

}  // namespace pivolane::editor
