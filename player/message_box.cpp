#include "player/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "player/player_texts.h"

namespace pivolane::player {

namespace {

constexpr int kMargin = 16;
constexpr int kSignSize = 40;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 28;

// The critical-error sign: a white cross on a red disc.
class CriticalSign : public Fl_Box {
 public:
  CriticalSign(int x, int y) : Fl_Box(FL_OVAL_BOX, x, y, kSignSize, kSignSize, "X") {
    color(FL_RED);
    labelcolor(FL_WHITE);
    labelfont(FL_HELVETICA_BOLD);
    labelsize(22);
  }
};

}  // namespace

void ShowMessageBox(const std::string& text, MessageIcon icon) {
  fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
  int textWidth = 0;
  int textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 0);
  textWidth += 8;  // the box keeps a small inner margin on each side
  const int textLeft = kMargin + (icon == MessageIcon::kCritical ? kSignSize + kMargin : 0);
  const int bodyHeight = std::max(textHeight, icon == MessageIcon::kCritical ? kSignSize : 0);
  const int width = std::max(textLeft + textWidth + kMargin, kButtonWidth + 2 * kMargin);
  const int height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;

  Fl_Window window(width, height, kApplicationTitle);
  if (icon == MessageIcon::kCritical) new CriticalSign(kMargin, kMargin);
  auto* message = new Fl_Box(textLeft, kMargin, textWidth, bodyHeight);
  message->copy_label(text.c_str());
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  auto* ok = new Fl_Return_Button((width - kButtonWidth) / 2, height - kMargin - kButtonHeight,
                                  kButtonWidth, kButtonHeight, "OK");
  ok->callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  window.end();
  window.set_modal();
  window.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
  window.show();
  while (window.shown()) Fl::wait();
}

}  // namespace pivolane::player
