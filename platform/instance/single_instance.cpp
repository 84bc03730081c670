#include "platform/instance/single_instance.h"

#include "platform/paths/paths.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

#include <unistd.h>

#include <utility>

namespace pw::platform {
namespace {

constexpr QByteArrayView kCloseRequest = "close";
constexpr QByteArrayView kClosedAnswer = "closed";
constexpr QByteArrayView kUnknownAnswer = "unknown";
constexpr int kConnectTimeoutMs = 2000;

// The first line of buffer, without its newline; empty optional while the
// line is not complete.
std::optional<QByteArray> TakeLine(QByteArray& buffer) {
  const qsizetype end = buffer.indexOf('\n');
  if (end < 0) return std::nullopt;
  QByteArray line = buffer.left(end);
  buffer.remove(0, end + 1);
  return line;
}

}  // namespace

QString InstanceSocketName(std::string_view window_title) {
  const std::optional<std::string> temp = TempFolder();
  if (!temp) return {};
  return QString::fromStdString(*temp) + QString::fromUtf8(window_title.data(), window_title.size()) +
         QStringLiteral("-%1").arg(::getuid());
}

CloseAnswer AskInstanceToClose(const QString& name, std::chrono::milliseconds answer_timeout) {
  if (name.isEmpty()) return CloseAnswer::NoInstance;
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return CloseAnswer::NoInstance;

  socket.write(kCloseRequest.data(), kCloseRequest.size());
  socket.write("\n", 1);
  if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return CloseAnswer::NoAnswer;

  QDeadlineTimer deadline(answer_timeout);
  QByteArray buffer;
  while (!deadline.hasExpired()) {
    if (socket.bytesAvailable() == 0 &&
        !socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
      // The peer hung up or the time is over; what was read so far decides.
      buffer += socket.readAll();
      break;
    }
    buffer += socket.read(static_cast<qint64>(kMaxLineBytes) - buffer.size() + 1);
    if (std::optional<QByteArray> line = TakeLine(buffer)) {
      return *line == kClosedAnswer ? CloseAnswer::Closed : CloseAnswer::NoAnswer;
    }
    if (static_cast<std::size_t>(buffer.size()) > kMaxLineBytes) return CloseAnswer::NoAnswer;
  }
  if (std::optional<QByteArray> line = TakeLine(buffer); line && *line == kClosedAnswer) {
    return CloseAnswer::Closed;
  }
  return CloseAnswer::NoAnswer;
}

InstanceServer::InstanceServer(std::function<void()> on_close_request, QObject* parent)
    : QObject(parent), on_close_request_(std::move(on_close_request)) {}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::Listen(const QString& name) {
  if (name.isEmpty()) return false;
  // Qt's listen with access options replaces whatever is at the name, a
  // live instance's socket too, so look for one first. Whatever is left
  // there is then a socket file of an instance that died.
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;
  }
  QLocalServer::removeServer(name);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) {
    server_.reset();
    return false;
  }
  connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
  return true;
}

bool InstanceServer::IsListening() const { return server_ && server_->isListening(); }

void InstanceServer::StopListening() {
  if (server_) server_->close();
}

void InstanceServer::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    if (socket->bytesAvailable() > 0) OnReadyRead(socket);
  }
}

void InstanceServer::OnReadyRead(QLocalSocket* socket) {
  // Each connection keeps its partial line on the socket object itself.
  QByteArray buffer = socket->property("pw_line").toByteArray();
  buffer += socket->read(static_cast<qint64>(kMaxLineBytes) - buffer.size() + 1);
  std::optional<QByteArray> line = TakeLine(buffer);
  if (!line) {
    if (static_cast<std::size_t>(buffer.size()) > kMaxLineBytes) {
      socket->abort();
      return;
    }
    socket->setProperty("pw_line", buffer);
    return;
  }
  socket->setProperty("pw_line", QByteArray());
  socket->disconnect(this);  // one request per connection
  if (*line == kCloseRequest) {
    if (on_close_request_) on_close_request_();
    socket->write(kClosedAnswer.data(), kClosedAnswer.size());
  } else {
    socket->write(kUnknownAnswer.data(), kUnknownAnswer.size());
  }
  socket->write("\n", 1);
  socket->flush();
  socket->disconnectFromServer();
}

}  // namespace pw::platform
