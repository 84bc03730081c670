#pragma once
// One running program per user: the running instance listens on a local
// socket named after its window title, and a new start asks it to close and
// waits for the answer, which comes once its window is gone.
//
// Protocol, one line each way: the new start sends "close\n"; the running
// instance closes its window and answers "closed\n". Anything else is
// answered "unknown\n"; a line longer than kMaxLineBytes drops the caller.
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>

class QLocalServer;
class QLocalSocket;

namespace pw::platform {

inline constexpr std::size_t kMaxLineBytes = 64;

// The socket of this user's instance with that window title: a socket file
// in the user's private temporary folder (so no other user reaches it).
// Empty when there is no such folder; single-instance is then off.
QString InstanceSocketName(std::string_view window_title);

enum class CloseAnswer {
  NoInstance,  // nobody listens: no previous instance
  Closed,      // the previous instance closed its window and said so
  NoAnswer,    // something listens but did not answer "closed" in time
};

// Asks the instance listening on name to close. Blocks the calling thread
// (no event loop needed) for at most answer_timeout after connecting.
CloseAnswer AskInstanceToClose(const QString& name, std::chrono::milliseconds answer_timeout);

// The running instance's side. Lives on the user-interface thread; the
// close handler runs there, and the answer is sent when it returns.
class InstanceServer final : public QObject {
 public:
  explicit InstanceServer(std::function<void()> on_close_request, QObject* parent = nullptr);
  ~InstanceServer() override;

  // Starts listening. A socket file left by an instance that died is
  // replaced; a live listener is not (false then).
  bool Listen(const QString& name);
  bool IsListening() const;

  // Stops taking new requests (an instance that is ending); a request
  // being answered is still answered.
  void StopListening();

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);

  std::function<void()> on_close_request_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace pw::platform
