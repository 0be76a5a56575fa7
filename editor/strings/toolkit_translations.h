// Qt's own texts (the standard buttons of message boxes, the file dialogs) in
// the interface language, from the translations that the system's Qt ships.
#pragma once

#include <QTranslator>

#include "editor/strings/language.h"

namespace pivolane::editor {

class ToolkitTranslations {
 public:
  // French installs Qt's French texts for the whole application; English,
  // Qt's own language, removes them, as does the end of this object.
  void SetLanguage(Language language);

 private:
  QTranslator french_;
  bool installed_ = false;
};

}  // namespace pivolane::editor
