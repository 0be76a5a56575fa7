// libcurl's multi interface driven by the Qt event loop: after each turn of
// curl's work, the sockets that it waits on are watched by socket notifiers
// and its next time-out by a timer, so that transfers go on while the window
// keeps handling its events.
#pragma once

#include <curl/curl.h>

#include <map>
#include <memory>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace pivolane::editor {

class CurlEventLoop : public QObject {
  Q_OBJECT

 public:
  explicit CurlEventLoop(QObject* parent = nullptr);
  // Ends every transfer and closes every connection still open.
  ~CurlEventLoop() override;
  CurlEventLoop(const CurlEventLoop&) = delete;
  CurlEventLoop& operator=(const CurlEventLoop&) = delete;

  // Starts the transfer that easy is set up for.
  void Start(CURL* easy);
  // Ends that transfer, finished or not; its connection stays for the next.
  void Stop(CURL* easy);

 signals:
  // After each turn of curl's work, outside every curl call.
  void Acted();
  void Finished(CURL* easy, CURLcode result);

 private:
  struct Watch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
  };

  void Act();
  // Watches what curl waits on now, and nothing else; false when that is
  // no socket at all.
  bool WatchSockets();
  void ScheduleNextTurn(bool watching);

  CURLM* multi_;
  int running_ = 0;
  QTimer timer_;
  std::map<int, Watch> watches_;
};

}  // namespace pivolane::editor
