#include "player/program_icon.h"

#include <FL/Fl_Image.H>
#include <FL/Fl_Window.H>

#include <array>
#include <memory>

namespace pivolane::player {

void UseProgramIcon() {
  // The toolkit keeps copies of the images it is given.
  std::array<std::unique_ptr<Fl_RGB_Image>, kProgramIconCount> images;
  std::array<const Fl_RGB_Image*, kProgramIconCount> list{};
  for (int i = 0; i < kProgramIconCount; ++i) {
    const ProgramIconImage& icon = kProgramIcons[i];
    images[static_cast<std::size_t>(i)] =
        std::make_unique<Fl_RGB_Image>(icon.rgba, icon.size, icon.size, 4);
    list[static_cast<std::size_t>(i)] = images[static_cast<std::size_t>(i)].get();
  }
  Fl_Window::default_icons(list.data(), kProgramIconCount);
}

}  // namespace pivolane::player
