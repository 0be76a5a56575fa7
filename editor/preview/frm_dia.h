// The preview window FrmDia: the open show played full screen before it is
// saved or built, with the player's playback rules (playback::Playback) and
// fitting. The slides are the editor's working files, read where they are;
// the preview writes and deletes nothing.
#pragma once

#include <vector>

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "common/playback/playback.h"
#include "common/playback/pointer_visibility.h"
#include "editor/shell/picture_reader.h"
#include "editor/strings/string_table.h"

namespace pivolane::editor {

struct PreviewSlide {
  QString title;
  QString path;  // the slide's working file
};

// The show as the editor held it when the preview started.
struct PreviewShow {
  std::vector<PreviewSlide> slides;
  bool loop = false;
  bool random = false;
  bool titles = false;
  int delaySeconds = 0;  // 0: the slides change on user input only
};

class FrmDia : public QWidget, public playback::PlaybackView {
  Q_OBJECT

 public:
  FrmDia(PreviewShow show, const Strings& strings, QWidget* parent = nullptr,
         playback::RandomSource random = {});
  ~FrmDia() override;

  // Lays out the frame and shows the first slide; a show without slides ends
  // at once.
  void Start();
  // The slide timer's tick.
  void Timer1_Timer();

  const playback::Playback& playback() const { return playback_; }
  const QTimer& timer1() const { return Timer1_; }
  // Hides the pointer once it has been still for a while.
  QTimer& pointerTimer() { return pointerTimer_; }
  QWidget& frame1() { return *Frame1_; }
  QLabel& imageDia() { return *ImageDia_; }

  // PlaybackView
  void LetPendingEventsRun() override;
  void SetBusy(bool busy) override;
  void ShowSlide(int slideNumber, int position) noexcept override;
  void StartTimer(std::int64_t intervalMs) override;
  void StopTimer() override;
  void EndShow() override;

 signals:
  // The window has closed: by Escape, its close box or the end of the show.
  void Closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // The second press of a double-click comes as a double-click only: it is
  // no press, so a double-click moves on once.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Lays Frame1 over the whole client area, as the player does.
  void AjusteFrmDia();
  // Fits the current picture into Frame1 and centres it.
  void PlaceImage();
  void ShowPointer(playback::PointerShape shape);

  const PreviewShow show_;
  const Strings& strings_;
  QWidget* Frame1_;
  QLabel* ImageDia_;
  QTimer Timer1_;
  QTimer pointerTimer_;
  playback::PointerVisibility pointer_;
  ShownPicture picture_;
  playback::Playback playback_;
};

}  // namespace pivolane::editor
