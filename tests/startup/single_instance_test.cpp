// The single-instance socket: a new start asking the running one to close,
// with both ends in this process (the asking end on a thread of its own, as
// it blocks), and the answers to peers that are gone, silent or talk wrong.
#include "platform/instance/single_instance.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include <unistd.h>

namespace pw::platform {
namespace {

using namespace std::chrono_literals;

// Runs the event loop of this thread until the future is ready.
template <typename T>
T Await(std::future<T>& future) {
  while (future.wait_for(2ms) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  }
  return future.get();
}

TEST(SingleInstance, SocketLivesInTheUsersPrivateTempFolder) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  ASSERT_FALSE(name.isEmpty());
  const QString temp = QString::fromLocal8Bit(std::getenv("TMPDIR"));
  EXPECT_TRUE(name.startsWith(temp)) << name.toStdString();
  EXPECT_TRUE(name.endsWith(QStringLiteral("Tavrin Pagewick-%1").arg(::getuid())))
      << name.toStdString();
}

TEST(SingleInstance, NoListenerMeansNoPreviousInstance) {
  EXPECT_EQ(AskInstanceToClose(InstanceSocketName("Tavrin Pagewick"), 500ms),
            CloseAnswer::NoInstance);
  EXPECT_EQ(AskInstanceToClose(QString(), 500ms), CloseAnswer::NoInstance);
}

TEST(SingleInstance, RunningInstanceClosesBeforeItAnswers) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  int close_calls = 0;
  bool answered_before_close = false;
  std::future<CloseAnswer> asked;
  InstanceServer server([&] {
    ++close_calls;
    // The asking end must still be waiting while the window closes.
    answered_before_close = asked.wait_for(0ms) == std::future_status::ready;
  });
  ASSERT_TRUE(server.Listen(name));

  asked = std::async(std::launch::async, [&] { return AskInstanceToClose(name, 5s); });
  EXPECT_EQ(Await(asked), CloseAnswer::Closed);
  EXPECT_EQ(close_calls, 1);
  EXPECT_FALSE(answered_before_close);
}

TEST(SingleInstance, SecondListenerOnALiveNameIsRefusedAStaleOneReplaced) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  {
    InstanceServer first([] {});
    ASSERT_TRUE(first.Listen(name));
    InstanceServer second([] {});
    EXPECT_FALSE(second.Listen(name));
    EXPECT_FALSE(second.IsListening());
  }
  // What a crash leaves behind: a file at the socket's name nobody serves.
  QFile stale(name);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  InstanceServer fresh([] {});
  EXPECT_TRUE(fresh.Listen(name));
  EXPECT_TRUE(fresh.IsListening());
}

TEST(SingleInstance, SilentPeerGivesNoAnswerWithinTheTimeout) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  QLocalServer silent;  // accepts, never answers
  ASSERT_TRUE(silent.listen(name));
  std::future<CloseAnswer> asked =
      std::async(std::launch::async, [&] { return AskInstanceToClose(name, 300ms); });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Await(asked), CloseAnswer::NoAnswer);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

TEST(SingleInstance, WrongAnswerIsNotTakenForClosed) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  QLocalServer liar;
  ASSERT_TRUE(liar.listen(name));
  QObject::connect(&liar, &QLocalServer::newConnection, [&] {
    QLocalSocket* socket = liar.nextPendingConnection();
    socket->write("closedX\n");
    socket->flush();
  });
  std::future<CloseAnswer> asked =
      std::async(std::launch::async, [&] { return AskInstanceToClose(name, 2s); });
  EXPECT_EQ(Await(asked), CloseAnswer::NoAnswer);
}

// Talks to the server by hand; returns what it answered.
QByteArray Exchange(const QString& name, const std::vector<QByteArray>& chunks) {
  std::future<QByteArray> reply = std::async(std::launch::async, [&] {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(2000)) return QByteArray("no connection");
    for (const QByteArray& chunk : chunks) {
      socket.write(chunk);
      socket.waitForBytesWritten(2000);
      std::this_thread::sleep_for(20ms);
    }
    QByteArray answer;
    while (socket.waitForReadyRead(1000)) answer += socket.readAll();
    return answer + socket.readAll();
  });
  return Await(reply);
}

TEST(SingleInstance, ServerAnswersOnlyAFullCloseLineAndDropsOverlongLines) {
  const QString name = InstanceSocketName("Tavrin Pagewick");
  int close_calls = 0;
  InstanceServer server([&] { ++close_calls; });
  ASSERT_TRUE(server.Listen(name));

  EXPECT_EQ(Exchange(name, {"CLOSE\n"}), "unknown\n");
  EXPECT_EQ(Exchange(name, {"close please\n"}), "unknown\n");
  EXPECT_EQ(Exchange(name, {QByteArray(40, 'x'), QByteArray(40, 'x')}), "");
  EXPECT_EQ(close_calls, 0);
  // A request split over several writes still counts.
  EXPECT_EQ(Exchange(name, {"clo", "se\n"}), "closed\n");
  EXPECT_EQ(close_calls, 1);
}

}  // namespace
}  // namespace pw::platform
