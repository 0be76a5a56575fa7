#include "editor/document/slide_sources.h"

namespace pivolane::editor {

std::vector<format::SlideSource> SlideSources(const SlideList& list) {
  std::vector<format::SlideSource> slides;
  for (int i = 1; i <= list.Count(); ++i) {
    const QTreeWidgetItem* slide = list.Slide(i);
    slides.push_back({slide->text(0).toStdString(), SlideList::Key(slide).toStdString()});
  }
  return slides;
}

}  // namespace pivolane::editor
