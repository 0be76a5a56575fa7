// The slide list as the show writers take it.
#pragma once

#include <vector>

#include "common/format/show_writer.h"
#include "editor/shell/slide_list.h"

namespace pivolane::editor {

// Each slide's title and working file, in show order.
std::vector<format::SlideSource> SlideSources(const SlideList& list);

}  // namespace pivolane::editor
