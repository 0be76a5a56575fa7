#include "editor/strings/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace pivolane::editor {

void ToolkitTranslations::SetLanguage(Language language) {
  if (language == Language::kEnglish) {
    if (installed_) QCoreApplication::removeTranslator(&french_);
    installed_ = false;
    return;
  }
  if (installed_) return;
  // Without the system's translations Qt's texts stay in English; the
  // editor's own texts are French all the same.
  if (french_.isEmpty() &&
      !french_.load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return;
  }
  installed_ = QCoreApplication::installTranslator(&french_);
}

}  // namespace pivolane::editor
