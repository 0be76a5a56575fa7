#include "editor/preview/frm_dia.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "common/playback/fit_geometry.h"
#include "common/version.h"
#include "editor/icons/icon_library.h"
#include "editor/preview/preview_input.h"

namespace pivolane::editor {

namespace {

playback::PlaybackSettings SettingsOf(const PreviewShow& show) {
  playback::PlaybackSettings settings;
  settings.slideCount = static_cast<int>(show.slides.size());
  settings.loop = show.loop;
  settings.random = show.random;
  settings.timerIntervalMs = playback::TimerIntervalForDelay(show.delaySeconds);
  // Once the user has taken over, the preview waits for the user.
  settings.inputStopsAutoAdvance = true;
  return settings;
}

void PaintBlack(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, Qt::black);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

QString WithoutTrailingBlanks(QString text) {
  while (text.endsWith(' ')) text.chop(1);
  return text;
}

}  // namespace

FrmDia::FrmDia(PreviewShow show, const Strings& strings, QWidget* parent,
               playback::RandomSource random)
    : QWidget(parent, Qt::Window),
      show_(std::move(show)),
      strings_(strings),
      Frame1_(new QWidget(this)),
      ImageDia_(new QLabel(Frame1_)),
      playback_(SettingsOf(show_), *this, std::move(random)) {
  setObjectName("FrmDia");
  Frame1_->setObjectName("Frame1");
  ImageDia_->setObjectName("ImageDia");
  setWindowIcon(LoadProgramIcon());
  setWindowTitle(kApplicationTitle);
  setWindowModality(Qt::ApplicationModal);
  setFocusPolicy(Qt::StrongFocus);
  PaintBlack(*this);
  PaintBlack(*Frame1_);
  ImageDia_->setScaledContents(true);
  ImageDia_->hide();
  Timer1_.setObjectName("Timer1");
  connect(&Timer1_, &QTimer::timeout, this, &FrmDia::Timer1_Timer);
  // Moves over the picture and the frame come to the window too.
  for (QWidget* widget : {static_cast<QWidget*>(this), Frame1_, static_cast<QWidget*>(ImageDia_)})
    widget->setMouseTracking(true);
  pointerTimer_.setSingleShot(true);
  pointerTimer_.setInterval(playback::kPointerIdleTime);
  connect(&pointerTimer_, &QTimer::timeout, this, [this] { ShowPointer(pointer_.Idle()); });
}

FrmDia::~FrmDia() {
  Timer1_.stop();
}

void FrmDia::Start() {
  AjusteFrmDia();
  pointerTimer_.start();
  playback_.Start();
}

void FrmDia::Timer1_Timer() {
  playback_.TimerTick();
}

void FrmDia::AjusteFrmDia() {
  Frame1_->setGeometry(rect());
}

void FrmDia::LetPendingEventsRun() {
  QApplication::processEvents();
}

void FrmDia::SetBusy(bool busy) {
  ShowPointer(pointer_.SetBusy(busy));
}

void FrmDia::ShowPointer(playback::PointerShape shape) {
  switch (shape) {
    case playback::PointerShape::kNormal:
      unsetCursor();
      break;
    case playback::PointerShape::kBusy:
      setCursor(Qt::WaitCursor);
      break;
    case playback::PointerShape::kHidden:
      setCursor(Qt::BlankCursor);
      break;
  }
}

void FrmDia::ShowSlide(int slideNumber, int position) noexcept {
  ImageDia_->hide();
  ImageDia_->clear();
  picture_.Clear();
  // A slide that cannot be shown leaves the frame black under its usual
  // caption, and the show goes on.
  try {
    const PreviewSlide& slide = show_.slides.at(static_cast<std::size_t>(slideNumber - 1));
    if (picture_.Load(slide.path, Frame1_->size() * devicePixelRatioF())) PlaceImage();
    const QString title = show_.titles ? WithoutTrailingBlanks(slide.title) : kApplicationTitle;
    setWindowTitle(QString::number(position) + "/" + QString::number(show_.slides.size()) + ": " +
                   title + strings_.LoadMessage(301));
  } catch (...) {
    picture_.Clear();
  }
  if (!picture_.IsNull()) ImageDia_->show();
}

void FrmDia::PlaceImage() {
  if (picture_.IsNull()) return;
  const QSize natural = picture_.naturalSize();
  const playback::Placement place = playback::FitAndCentre({natural.width(), natural.height()},
                                                           {Frame1_->width(), Frame1_->height()});
  picture_.DecodeFor(QSize(place.width, place.height) * devicePixelRatioF());
  ImageDia_->setPixmap(picture_.pixmap());
  ImageDia_->setGeometry(place.left, place.top, place.width, place.height);
}

void FrmDia::StartTimer(std::int64_t intervalMs) {
  Timer1_.start(static_cast<int>(intervalMs));
}

void FrmDia::StopTimer() {
  Timer1_.stop();
}

void FrmDia::EndShow() {
  Timer1_.stop();
  close();
}

void FrmDia::keyPressEvent(QKeyEvent* event) {
  playback_.HandleInput(InputCodeForQtKey(event->key()));
}

void FrmDia::mousePressEvent(QMouseEvent* event) {
  playback_.HandleInput(InputCodeForQtButton(event->button()));
}

void FrmDia::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

void FrmDia::mouseMoveEvent(QMouseEvent* event) {
  ShowPointer(pointer_.Moved());
  pointerTimer_.start();
  event->accept();
}

void FrmDia::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AjusteFrmDia();
  PlaceImage();
}

void FrmDia::closeEvent(QCloseEvent* event) {
  Timer1_.stop();
  pointerTimer_.stop();
  event->accept();
  emit Closed();
}

}  // namespace pivolane::editor
