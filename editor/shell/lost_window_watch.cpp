#include "editor/shell/lost_window_watch.h"

#include <xcb/xcb.h>

#include <cstdlib>

#include <QCoreApplication>

namespace pivolane::editor {

LostWindowWatch::LostWindowWatch(const QWidget& window) : window_(window) {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

LostWindowWatch::~LostWindowWatch() {
  QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool LostWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & ~0x80) != XCB_DESTROY_NOTIFY) return false;
  // The window's current X window: one that the toolkit replaced itself is
  // no longer it.
  const WId current = window_.internalWinId();
  if (current == 0 ||
      reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window != current) {
    return false;
  }
  // The end the toolkit gives the program when its display goes away: exit(),
  // whose registered clean-ups wipe the work folder. Nothing can be asked
  // without the window.
  qWarning("The main window was destroyed by another program: ending.");
  std::exit(EXIT_FAILURE);
}

}  // namespace pivolane::editor
