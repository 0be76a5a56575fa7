// Inet1, the update window's transfer component: one FTP session over
// libcurl that runs its commands while the window goes on handling events,
// and reports the session's states as they change.
#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "common/io/file.h"
#include "common/update/transfer_command.h"
#include "editor/update/curl_event_loop.h"

namespace pivolane::editor {

class Inet : public QObject {
  Q_OBJECT

 public:
  // The numbers that StateChanged reports.
  enum State {
    kResolving = 1,
    kResolved = 2,
    kConnecting = 3,
    kConnected = 4,
    kDisconnecting = 9,
    kDisconnected = 10,
    kError = 11,
    kResponseCompleted = 12,
  };

  // A server that does not connect within this, or stops sending or
  // answering for this long, ends the command with an error.
  static constexpr long kConnectTimeoutSeconds = 15;
  static constexpr long kStallTimeoutSeconds = 30;

  explicit Inet(QObject* parent = nullptr);
  ~Inet() override;

  // The server: an "ftp://" or "ftps://" URL with the account, ending with
  // "/". "ftps://" always uses TLS; "ftp://" uses it when the server offers.
  void SetURL(const QString& url) { url_ = url; }
  const QString& URL() const { return url_; }

  // Starts one command: "DIR " + pattern (one name per line ended by CR LF,
  // each name once, folders ending with "/"), "SIZE " + path (the size in
  // decimal), "GET " + server path + " " + local path (always a new file; see
  // update::CreateNewFile), "PUT " + local path + " " + server path. Throws a
  // Failure when a command is still executing, the text is not a command or
  // the local file cannot be opened.
  void Execute(const QString& command);
  bool StillExecuting() const { return executing_; }
  // Ends the command in progress; no state follows.
  void Cancel();
  // A GET that would write more than this many bytes ends with an error;
  // nullopt lifts the limit. Applies from the next command on.
  void SetDownloadLimit(std::optional<std::uint64_t> bytes) { downloadLimit_ = bytes; }

  // The next piece of the last command's response, at most size characters;
  // empty when nothing is left.
  QString GetChunk(int size);
  // The curl error number and its description of the last failed command.
  int ResponseCode() const { return responseCode_; }
  const QString& ResponseInfo() const { return responseInfo_; }

 signals:
  void StateChanged(int state);

 private:
  static int OnResolverStart(void* resolverState, void* reserved, void* self);
  static curl_socket_t OnOpenSocket(void* self, curlsocktype purpose, curl_sockaddr* address);
  static int OnPreRequest(void* self, char* conn_primary_ip, char* conn_local_ip,
                          int conn_primary_port, int conn_local_port);
  static int OnCloseSocket(void* self, curl_socket_t socket);
  static std::size_t OnWrite(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnRead(char* data, std::size_t size, std::size_t count, void* self);

  void SetUp();
  void Report(State state) { pending_.push_back(state); }
  void FlushStates();
  void OnFinished(CURL* easy, CURLcode result);
  void Finish(CURLcode result);
  void Fail(int code, const QString& info);

  QString url_;
  CURL* easy_ = nullptr;
  std::unique_ptr<CurlEventLoop> loop_;
  bool executing_ = false;
  bool quiet_ = false;  // while the component is being destroyed
  update::TransferCommand command_;
  bool listingByMlsd_ = true;
  std::optional<std::uint64_t> downloadLimit_;
  std::optional<io::File> file_;
  std::uint64_t fileOffset_ = 0;
  bool tooLarge_ = false;
  QString writeFailure_;
  QByteArray body_;
  qsizetype bodyRead_ = 0;
  int responseCode_ = 0;
  QString responseInfo_;
  std::deque<State> pending_;
  // How far the session's own connection has come. The data connections
  // beside it report nothing; the control connection is told from them by
  // its local port.
  enum class Session { kNone, kResolving, kConnecting, kConnected };
  Session session_ = Session::kNone;
  int controlPort_ = -1;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace pivolane::editor
