#include "player/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "player/dialog_scale.h"
#include "player/player_texts.h"

namespace pivolane::player {

namespace {

// The critical-error sign: a white cross on a red disc.
class CriticalSign : public Fl_Box {
 public:
  CriticalSign(int x, int y, int size, int fontSize) : Fl_Box(FL_OVAL_BOX, x, y, size, size, "X") {
    color(FL_RED);
    labelcolor(FL_WHITE);
    labelfont(FL_HELVETICA_BOLD);
    labelsize(fontSize);
  }
};

}  // namespace

void ShowMessageBox(const std::string& text, MessageIcon icon) {
  const double scale = ScreenDialogScale();
  const int margin = Scaled(16, scale);
  const int signSize = Scaled(40, scale);
  const int buttonWidth = Scaled(90, scale);
  const int buttonHeight = Scaled(28, scale);
  const int fontSize = Scaled(FL_NORMAL_SIZE, scale);
  fl_font(FL_HELVETICA, fontSize);
  int textWidth = 0;
  int textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 0);
  textWidth += Scaled(8, scale);  // the box keeps a small inner margin on each side
  const int textLeft = margin + (icon == MessageIcon::kCritical ? signSize + margin : 0);
  const int bodyHeight = std::max(textHeight, icon == MessageIcon::kCritical ? signSize : 0);
  const int width = std::max(textLeft + textWidth + margin, buttonWidth + 2 * margin);
  const int height = margin + bodyHeight + margin + buttonHeight + margin;

  Fl_Window window(width, height, kApplicationTitle);
  if (icon == MessageIcon::kCritical) new CriticalSign(margin, margin, signSize, Scaled(22, scale));
  auto* message = new Fl_Box(textLeft, margin, textWidth, bodyHeight);
  message->copy_label(text.c_str());
  message->labelsize(fontSize);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  auto* ok = new Fl_Return_Button((width - buttonWidth) / 2, height - margin - buttonHeight,
                                  buttonWidth, buttonHeight, "OK");
  ok->labelsize(fontSize);
  ok->callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  window.end();
  window.set_modal();
  window.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
  window.show();
  while (window.shown()) Fl::wait();
}

}  // namespace pivolane::player
