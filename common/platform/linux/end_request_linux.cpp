// End requests are signals. A signal handler may do almost nothing safely, so
// it only writes the signal's number into a pipe; a watcher thread reads it
// and does the real work outside the handler.
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <thread>

#include "common/io/file.h"
#include "common/platform/platform.h"

namespace pivolane::platform {

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGINT, SIGHUP};

// Read end, write end.
int g_requests[2] = {-1, -1};
// The process whose watcher reads the pipe: a child forked from it shares the
// pipe but not the watcher, and ends at once.
pid_t g_watched = 0;

void OnEndSignal(int signal) {
  if (::getpid() != g_watched) {
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    return;
  }
  const int saved = errno;
  const auto number = static_cast<unsigned char>(signal);
  const ssize_t written = ::write(g_requests[1], &number, 1);
  static_cast<void>(written);  // a full pipe already holds a request
  errno = saved;
}

void WatchRequests(const std::function<void()>& beforeEnd) {
  unsigned char number = 0;
  ssize_t n = 0;
  do {
    n = ::read(g_requests[0], &number, 1);
  } while (n < 0 && errno == EINTR);
  if (n != 1) return;
  beforeEnd();
  const int signal = number;
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  ::sigaction(signal, &standard, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal);
}

}  // namespace

void OnEndRequest(std::function<void()> beforeEnd) {
  static std::once_flag installed;
  std::call_once(installed, [&] {
    if (::pipe2(g_requests, O_CLOEXEC) != 0) io::ThrowSystemError(errno, "pipe");
    g_watched = ::getpid();
    std::thread(WatchRequests, std::move(beforeEnd)).detach();
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals) {
      struct sigaction before {};
      ::sigaction(signal, nullptr, &before);
      if (before.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
    }
  });
}

}  // namespace pivolane::platform
