// The identity and state of the slide show that the main window holds.
#pragma once

#include <filesystem>

#include <QString>

#include "common/cipher/strong_cipher.h"

namespace pivolane::editor {

// The name of a show that has none chosen by the user yet.
inline constexpr const char* kUntitledName = "Pivolane1";

struct DocumentState {
  // The editor's own work folder, which holds every working file.
  std::filesystem::path workFolder;
  QString docFileName = QString(kUntitledName) + ".pvl";
  // Folder of the document; empty means the current directory.
  QString docFolder;
  QString exeFileName = QString(kUntitledName) + ".exe";
  // No name was chosen by the user yet: never opened, never saved under a name.
  bool docUntitled = true;
  bool documentModified = false;
  bool passwordEntered = false;
  bool openSucceeded = false;
  // Last number used in a working-file name.
  int slideCounter = 0;
  // The cost of the key derivation of every save and build with strong
  // encryption; the same for every show, whatever cost an opened one had.
  cipher::KdfLimits kdfLimits = cipher::kDefaultKdfLimits;

  // The names of a show never opened nor saved.
  void StartUntitled() {
    docUntitled = true;
    exeFileName = QString(kUntitledName) + ".exe";
    docFileName = QString(kUntitledName) + ".pvl";
  }

  std::filesystem::path DocumentPath() const {
    return std::filesystem::path(docFolder.toStdString()) / docFileName.toStdString();
  }
  // Where a self-running show is built: beside the documents.
  std::filesystem::path ExePath() const {
    return std::filesystem::path(docFolder.toStdString()) / exeFileName.toStdString();
  }
};

}  // namespace pivolane::editor
