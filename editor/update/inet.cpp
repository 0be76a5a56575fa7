#include "editor/update/inet.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <span>

#include "common/errors.h"
#include "common/update/ftp_listing.h"
#include "common/update/lines.h"
#include "common/update/update_files.h"
#include "common/workspace/workspace.h"

namespace pivolane::editor {

namespace {

// A listing larger than this is not an update folder's.
constexpr qsizetype kListingLimit = 1 << 20;
// Visual Basic's own number for a component asked twice at once.
constexpr int kStillExecuting = 35764;

void InitCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) throw Failure(error_number::kInvalidArgument, "libcurl could not start");
}

// What curl reports when the server refuses the listing command itself (it
// does not know MLSD).
bool IsRefusedListing(CURLcode result) {
  return result == CURLE_FTP_COULDNT_RETR_FILE;
}

int LocalPort(curl_socket_t socket) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  if (address.ss_family == AF_INET) {
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  }
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  }
  return -1;
}

}  // namespace

Inet::Inet(QObject* parent) : QObject(parent) {
  setObjectName("Inet1");
  InitCurlOnce();
  loop_ = std::make_unique<CurlEventLoop>();
  connect(loop_.get(), &CurlEventLoop::Acted, this, &Inet::FlushStates);
  connect(loop_.get(), &CurlEventLoop::Finished, this, &Inet::OnFinished);
}

Inet::~Inet() {
  quiet_ = true;
  Cancel();
  // Closing the connections calls back into this object: it goes first.
  loop_.reset();
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
}

void Inet::Execute(const QString& text) {
  if (executing_) throw Failure(kStillExecuting, "Still executing last request");
  command_ = update::ParseTransferCommand(text.toStdString());
  body_.clear();
  bodyRead_ = 0;
  responseCode_ = 0;
  responseInfo_.clear();
  tooLarge_ = false;
  writeFailure_.clear();
  fileOffset_ = 0;
  listingByMlsd_ = true;
  if (command_.kind == update::TransferCommand::Kind::kGet) {
    file_.emplace(update::CreateNewFile(command_.localPath));
  } else if (command_.kind == update::TransferCommand::Kind::kPut) {
    file_.emplace(command_.localPath, io::OpenMode::kRead);
  }
  SetUp();
  executing_ = true;
  loop_->Start(easy_);
}

void Inet::SetUp() {
  // A new handle per command, free of the last one's options; the session's
  // connection stays in the loop's cache all the same.
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  easy_ = curl_easy_init();
  std::string url = url_.toStdString();
  if (!url.ends_with('/')) url.push_back('/');
  url += update::EscapeUrlPath(command_.serverPath);
  errorBuffer_[0] = '\0';
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "ftp,ftps");
  curl_easy_setopt(easy_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(easy_, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallTimeoutSeconds);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, kStallTimeoutSeconds);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);
  curl_easy_setopt(easy_, CURLOPT_RESOLVER_START_FUNCTION, &Inet::OnResolverStart);
  curl_easy_setopt(easy_, CURLOPT_RESOLVER_START_DATA, this);
  curl_easy_setopt(easy_, CURLOPT_OPENSOCKETFUNCTION, &Inet::OnOpenSocket);
  curl_easy_setopt(easy_, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &Inet::OnPreRequest);
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETFUNCTION, &Inet::OnCloseSocket);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Inet::OnWrite);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  switch (command_.kind) {
    case update::TransferCommand::Kind::kDir:
      curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, listingByMlsd_ ? "MLSD" : "LIST");
      break;
    case update::TransferCommand::Kind::kSize:
      curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
      break;
    case update::TransferCommand::Kind::kGet:
      break;
    case update::TransferCommand::Kind::kPut:
      curl_easy_setopt(easy_, CURLOPT_UPLOAD, 1L);
      curl_easy_setopt(easy_, CURLOPT_READFUNCTION, &Inet::OnRead);
      curl_easy_setopt(easy_, CURLOPT_READDATA, this);
      curl_easy_setopt(easy_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file_->Size()));
      break;
  }
}

void Inet::Cancel() {
  if (!executing_) return;
  loop_->Stop(easy_);
  pending_.clear();
  executing_ = false;
  if (file_) {
    file_.reset();
    if (command_.kind == update::TransferCommand::Kind::kGet) {
      workspace::DiscardFile(command_.localPath);
    }
  }
}

QString Inet::GetChunk(int size) {
  const std::string_view rest(body_.constData() + bodyRead_,
                              static_cast<std::size_t>(body_.size() - bodyRead_));
  const std::size_t length = update::Utf8PieceLength(rest, static_cast<std::size_t>(size));
  bodyRead_ += static_cast<qsizetype>(length);
  return QString::fromUtf8(rest.data(), static_cast<qsizetype>(length));
}

void Inet::FlushStates() {
  while (!pending_.empty()) {
    const State state = pending_.front();
    pending_.pop_front();
    if (!quiet_) emit StateChanged(state);
  }
}

void Inet::OnFinished(CURL* easy, CURLcode result) {
  if (easy != easy_ || !executing_) return;
  loop_->Stop(easy_);
  if (command_.kind == update::TransferCommand::Kind::kDir && listingByMlsd_ &&
      IsRefusedListing(result)) {
    listingByMlsd_ = false;
    body_.clear();
    SetUp();
    loop_->Start(easy_);
    return;
  }
  Finish(result);
}

void Inet::Finish(CURLcode result) {
  FlushStates();
  // A session that never got through is started afresh by the next command.
  if (session_ != Session::kConnected) session_ = Session::kNone;
  using Kind = update::TransferCommand::Kind;
  try {
    if (file_) file_->Close();
  } catch (const Failure& failure) {
    if (result == CURLE_OK) writeFailure_ = QString::fromStdString(failure.description());
  }
  file_.reset();
  const bool ok = result == CURLE_OK && writeFailure_.isEmpty();
  if (ok && command_.kind == Kind::kDir) {
    const auto format =
        listingByMlsd_ ? update::ListingFormat::kMlsd : update::ListingFormat::kList;
    body_ = QByteArray::fromStdString(
        update::DirectoryListing(body_.toStdString(), format, command_.pattern));
  }
  curl_off_t length = -1;
  if (ok && command_.kind == Kind::kSize) {
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  }
  if (ok && command_.kind == Kind::kSize && length < 0) {
    Fail(CURLE_FTP_COULDNT_RETR_FILE, "The server did not tell the size of the file");
  } else if (ok) {
    if (command_.kind == Kind::kSize) body_ = QByteArray::number(static_cast<qint64>(length));
  } else if (tooLarge_) {
    Fail(result, command_.kind == Kind::kDir
                     ? QString("The listing is larger than %1 bytes").arg(kListingLimit)
                     : QString("The server sent more than the %1 bytes expected")
                           .arg(static_cast<qulonglong>(downloadLimit_.value_or(0))));
  } else if (!writeFailure_.isEmpty()) {
    Fail(result == CURLE_OK ? CURLE_WRITE_ERROR : result, writeFailure_);
  } else {
    Fail(result,
         QString::fromUtf8(errorBuffer_[0] != '\0' ? errorBuffer_ : curl_easy_strerror(result)));
  }
  if (responseCode_ != 0 && command_.kind == Kind::kGet) {
    workspace::DiscardFile(command_.localPath);
  }
  if (!quiet_) emit StateChanged(responseCode_ == 0 ? kResponseCompleted : kError);
  executing_ = false;
}

void Inet::Fail(int code, const QString& info) {
  body_.clear();
  responseCode_ = code;
  responseInfo_ = info;
}

int Inet::OnResolverStart(void*, void*, void* self) {
  auto* inet = static_cast<Inet*>(self);
  if (inet->session_ == Session::kNone) {
    inet->session_ = Session::kResolving;
    inet->Report(kResolving);
  }
  return 0;
}

curl_socket_t Inet::OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
  auto* inet = static_cast<Inet*>(self);
  // An address already known is not resolved again.
  if (inet->session_ == Session::kResolving) inet->Report(kResolved);
  if (inet->session_ == Session::kResolving || inet->session_ == Session::kNone) {
    inet->session_ = Session::kConnecting;
    inet->Report(kConnecting);
  }
  return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int Inet::OnPreRequest(void* self, char*, char*, int, int localPort) {
  auto* inet = static_cast<Inet*>(self);
  if (inet->session_ != Session::kConnected) {
    inet->session_ = Session::kConnected;
    inet->controlPort_ = localPort;
    inet->Report(kConnected);
  }
  return CURL_PREREQFUNC_OK;
}

int Inet::OnCloseSocket(void* self, curl_socket_t socket) {
  auto* inet = static_cast<Inet*>(self);
  const bool control =
      inet->session_ == Session::kConnected && LocalPort(socket) == inet->controlPort_;
  if (control) inet->Report(kDisconnecting);
  const int result = ::close(socket);
  if (control) {
    inet->session_ = Session::kNone;
    inet->Report(kDisconnected);
  }
  return result;
}

std::size_t Inet::OnWrite(char* data, std::size_t size, std::size_t count, void* self) {
  auto* inet = static_cast<Inet*>(self);
  const std::size_t length = size * count;
  switch (inet->command_.kind) {
    case update::TransferCommand::Kind::kDir:
      if (inet->body_.size() + static_cast<qsizetype>(length) > kListingLimit) {
        inet->tooLarge_ = true;
        return 0;
      }
      inet->body_.append(data, static_cast<qsizetype>(length));
      return length;
    case update::TransferCommand::Kind::kGet:
      if (inet->downloadLimit_ && inet->fileOffset_ + length > *inet->downloadLimit_) {
        inet->tooLarge_ = true;
        return 0;
      }
      try {
        inet->file_->WriteAt(inet->fileOffset_,
                             std::span(reinterpret_cast<const std::uint8_t*>(data), length));
      } catch (const Failure& failure) {
        inet->writeFailure_ = QString::fromStdString(failure.description());
        return 0;
      }
      inet->fileOffset_ += length;
      return length;
    case update::TransferCommand::Kind::kSize:
    case update::TransferCommand::Kind::kPut:
      break;
  }
  return length;  // the headers of SIZE: not part of the response
}

std::size_t Inet::OnRead(char* data, std::size_t size, std::size_t count, void* self) {
  auto* inet = static_cast<Inet*>(self);
  const std::uint64_t left = inet->file_->Size() - inet->fileOffset_;
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(left, size * count));
  try {
    inet->file_->ReadAt(inet->fileOffset_,
                        std::span(reinterpret_cast<std::uint8_t*>(data), length));
  } catch (const Failure&) {
    return CURL_READFUNC_ABORT;
  }
  inet->fileOffset_ += length;
  return length;
}

}  // namespace pivolane::editor
