// The menu bar of the main window. Each item is created with its message
// number as caption; the language commands put the texts in. The usual
// commands carry the desktop's standard shortcuts, shown in the menus; the
// window leaves those keys to them.
#pragma once

#include <vector>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace pivolane::editor {

struct MainMenu {
  QMenu* mnuFichier;
  QAction* mnuNouveau;
  QAction* mnuOuvrir;
  QAction* mnuSave;
  QAction* mnuSaveAs;
  QAction* mnuCreerExe;
  QAction* mnuEnregImages;
  QAction* mnuExtraireImagesExe;
  QAction* mnuQuit;

  QMenu* mnuEdition;
  QAction* mnuAnnuler;
  QAction* mnuRetablir;
  QAction* mnuCouper;
  QAction* mnuCopier;
  QAction* mnuColler;
  QAction* mnuInsertion;
  QAction* mnuSupprimer;
  QAction* mnuMonter;
  QAction* mnuDescendre;

  QMenu* mnuAffichage;
  QAction* mnuVisionner;
  // The keyboard's way to the toolbar button "VoirVignettes", which it mirrors.
  QAction* mnuVoirVignettes;
  QMenu* mnuDefilement;
  QAction* mnuEnBoucle;
  QAction* mnuAleatoire;
  QAction* mnuAfficherTitre;
  QAction* mnuMotDePasse;
  // The strong cipher (version 2) for the password; only with the password.
  QAction* mnuChiffrementFort;

  QMenu* mnuOutils;
  QMenu* mnuLangue;
  QAction* mnuFrancais;
  QAction* mnuEnglish;
  QAction* mnuUpdate;

  QMenu* mnuAide;
  QAction* mnuApropos;

  // Every item, menus included (as their menu actions), in tree order.
  std::vector<QAction*> items;
};

MainMenu BuildMainMenu(QMenuBar& bar);

}  // namespace pivolane::editor
