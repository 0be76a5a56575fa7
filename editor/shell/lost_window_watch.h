// Ends the editor when another X client destroys its main window (a raw
// DestroyWindow; closing the window asks the window first). The toolkit does
// not notice: the editor would go on running unseen, with the working files
// of the open show, until the session ends.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

namespace pivolane::editor {

class LostWindowWatch : public QAbstractNativeEventFilter {
 public:
  // Watches window for as long as this lives.
  explicit LostWindowWatch(const QWidget& window);
  ~LostWindowWatch() override;
  LostWindowWatch(const LostWindowWatch&) = delete;
  LostWindowWatch& operator=(const LostWindowWatch&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  const QWidget& window_;
};

}  // namespace pivolane::editor
