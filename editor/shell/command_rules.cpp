#include "editor/shell/command_rules.h"

namespace pivolane::editor {

void CommandRules::ApplyCountRules() {
  const int n = list_.Count();
  for (const char* key : {"Enregistrer", "Couper", "Copier", "CreerExe", "SupprimerDiapo",
                          "Visionner", "Affichertitre", "Crypte", "VoirVignettes"}) {
    EnableButton(key, n >= 1);
  }
  for (const char* key : {"Enboucle", "Aleatoire", "Flechehaut", "Flechebas"}) {
    EnableButton(key, n >= 2);
  }
  for (QAction* item :
       {menu_.mnuSave, menu_.mnuSaveAs, menu_.mnuEnregImages, menu_.mnuCreerExe, menu_.mnuCouper,
        menu_.mnuCopier, menu_.mnuMotDePasse, menu_.mnuSupprimer, menu_.mnuVisionner}) {
    item->setEnabled(n >= 1);
  }
  // Through the menu widget, not its menu action: a widget disabled by itself
  // stays disabled when the whole window is enabled again at the end of a
  // long operation, whereas the menu action follows its widget's enabling.
  for (QMenu* submenu : {menu_.mnuAffichage, menu_.mnuDefilement}) submenu->setEnabled(n >= 1);
  menu_.mnuMonter->setEnabled(n >= 2);
  menu_.mnuDescendre->setEnabled(n >= 2);
  EnableStrongCipher();
  view_.clickHereLabel().setVisible(n == 0);
  for (const char* key : {"Enboucle", "Aleatoire", "Affichertitre", "Crypte"}) {
    PressButton(key, false);
  }
  ShowPadlock(false);
  delay_.SetSpinInTabOrder(n >= 2);
}

void CommandRules::ApplySelectionRules() {
  SyncOptionButtons();
  ApplyUpDownRules();
  const bool selected = list_.SelectedSlide() != nullptr;
  for (QAction* item : {menu_.mnuCouper, menu_.mnuCopier, menu_.mnuSupprimer}) {
    item->setEnabled(selected);
  }
  for (const char* key : {"Couper", "Copier", "SupprimerDiapo"}) EnableButton(key, selected);
}

void CommandRules::ApplyUpDownRules() {
  const QTreeWidgetItem* selected = list_.SelectedSlide();
  const int i = selected != nullptr ? list_.IndexOf(selected) : 0;
  const bool up = selected != nullptr && i >= 2;
  const bool down = selected != nullptr && i < list_.Count();
  menu_.mnuMonter->setEnabled(up);
  EnableButton("Flechehaut", up);
  menu_.mnuDescendre->setEnabled(down);
  EnableButton("Flechebas", down);
}

void CommandRules::SyncOptionButtons() {
  PressButton("Enboucle", menu_.mnuEnBoucle->isChecked());
  PressButton("Aleatoire", menu_.mnuAleatoire->isChecked());
  PressButton("Affichertitre", menu_.mnuAfficherTitre->isChecked());
  PressButton("Crypte", menu_.mnuMotDePasse->isChecked());
  ShowPadlock(menu_.mnuMotDePasse->isChecked());
  EnableStrongCipher();
}

void CommandRules::EnableStrongCipher() {
  menu_.mnuChiffrementFort->setEnabled(menu_.mnuMotDePasse->isEnabled() &&
                                       menu_.mnuMotDePasse->isChecked());
}

void CommandRules::EnableButton(const char* key, bool enabled) {
  toolbar_.Button(key)->setEnabled(enabled);
}

void CommandRules::PressButton(const char* key, bool pressed) {
  toolbar_.Button(key)->setChecked(pressed);
}

void CommandRules::ShowPadlock(bool closed) {
  toolbar_.SetButtonIcon("Crypte", closed ? "K2ferme" : "K2ouv", icons_);
}

}  // namespace pivolane::editor
