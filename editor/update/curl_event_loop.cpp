#include "editor/update/curl_event_loop.h"

#include <sys/select.h>

#include <vector>

namespace pivolane::editor {

namespace {

// How long to wait at most while curl waits on no socket: it then does
// something that no socket tells the end of (a data connection about to be
// opened), and is called again after this whatever time-out it names.
constexpr long kBlindTurnMs = 100;

// The notifier may be the one whose signal is being handled: it is switched
// off at once and deleted once the handler has returned.
void Retire(std::unique_ptr<QSocketNotifier>& notifier) {
  if (!notifier) return;
  notifier->setEnabled(false);
  notifier.release()->deleteLater();
}

}  // namespace

CurlEventLoop::CurlEventLoop(QObject* parent) : QObject(parent), multi_(curl_multi_init()) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CurlEventLoop::Act);
}

CurlEventLoop::~CurlEventLoop() {
  curl_multi_cleanup(multi_);
  for (auto& [socket, watch] : watches_) {
    Retire(watch.read);
    Retire(watch.write);
  }
}

void CurlEventLoop::Start(CURL* easy) {
  curl_multi_add_handle(multi_, easy);
  ++running_;
  // The first turn once the caller has returned.
  timer_.start(0);
}

void CurlEventLoop::Stop(CURL* easy) {
  curl_multi_remove_handle(multi_, easy);
}

void CurlEventLoop::Act() {
  curl_multi_perform(multi_, &running_);
  std::vector<std::pair<CURL*, CURLcode>> finished;
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg == CURLMSG_DONE) {
      finished.emplace_back(message->easy_handle, message->data.result);
    }
  }
  ScheduleNextTurn(WatchSockets());
  emit Acted();
  for (const auto& [easy, result] : finished) emit Finished(easy, result);
}

bool CurlEventLoop::WatchSockets() {
  fd_set reads, writes, errors;
  FD_ZERO(&reads);
  FD_ZERO(&writes);
  FD_ZERO(&errors);
  int highest = -1;
  curl_multi_fdset(multi_, &reads, &writes, &errors, &highest);
  const auto keep = [&](std::unique_ptr<QSocketNotifier>& notifier, int socket, bool wanted,
                        QSocketNotifier::Type type) {
    if (!wanted) return Retire(notifier);
    if (notifier) return;
    notifier = std::make_unique<QSocketNotifier>(socket, type);
    connect(notifier.get(), &QSocketNotifier::activated, this, &CurlEventLoop::Act);
  };
  for (auto it = watches_.begin(); it != watches_.end();) {
    if (it->first > highest) {
      Retire(it->second.read);
      Retire(it->second.write);
      it = watches_.erase(it);
    } else {
      ++it;
    }
  }
  for (int socket = 0; socket <= highest; ++socket) {
    const bool read = FD_ISSET(socket, &reads) || FD_ISSET(socket, &errors);
    const bool write = FD_ISSET(socket, &writes);
    if (!read && !write && !watches_.contains(socket)) continue;
    Watch& watch = watches_[socket];
    keep(watch.read, socket, read, QSocketNotifier::Read);
    keep(watch.write, socket, write, QSocketNotifier::Write);
  }
  return highest >= 0;
}

void CurlEventLoop::ScheduleNextTurn(bool watching) {
  if (running_ == 0) return timer_.stop();
  long milliseconds = -1;
  curl_multi_timeout(multi_, &milliseconds);
  if (!watching && (milliseconds < 0 || milliseconds > kBlindTurnMs)) milliseconds = kBlindTurnMs;
  // No time-out named while sockets are watched: they call back.
  if (milliseconds < 0) return timer_.stop();
  timer_.start(static_cast<int>(milliseconds));
}

}  // namespace pivolane::editor
