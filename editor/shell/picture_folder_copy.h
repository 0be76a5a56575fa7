// The Save pictures command (mnuEnregImages): the picture of every slide,
// byte for byte, into a folder the user chooses, each file named after its
// slide's title.
#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "editor/shell/prompts.h"
#include "editor/shell/slide_list.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

class PictureFolderCopy {
 public:
  PictureFolderCopy(QWidget& window, const SlideList& list, const Strings& strings,
                    Prompts& prompts)
      : window_(window), list_(list), strings_(strings), prompts_(prompts) {}

  // Asks for the folder (startFolder first), then copies the slides in list
  // order. A file already there is replaced only after the question; Cancel
  // there stops at once, without the summary. A copy that fails leaves the
  // file it would have replaced as it was and ends the command with the
  // " (Proc 105)" box; the pictures already copied stay.
  void SavePicturesToFolder(const QString& startFolder);

 private:
  // The copies into folder (ending with "/"): how many were made, nullopt
  // when the user cancelled at a question. Throws the Failure of a copy.
  std::optional<int> CopyPictures(const QString& folder);

  QWidget& window_;
  const SlideList& list_;
  const Strings& strings_;
  Prompts& prompts_;
};

}  // namespace pivolane::editor
