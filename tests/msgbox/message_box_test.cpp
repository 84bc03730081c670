// Message box hosts: the console host's policy and output, the scripted
// host's record and queue, the process-wide host, and the windowed host
// answering from the user-interface thread and from a worker.
#include "platform/msgbox/console_message_box.h"
#include "platform/msgbox/gui_message_box.h"
#include "platform/msgbox/message_answers.h"
#include "platform/msgbox/message_box.h"
#include "platform/msgbox/scripted_message_box.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <sstream>
#include <thread>

namespace pw::platform {
namespace {

using B = MessageButtons;
using A = MessageAnswer;

TEST(MessageAnswers, AcceptAndDeclineStayWithinEachButtonSet) {
  struct Row {
    B buttons;
    A accept;
    A decline;
  };
  const Row rows[] = {{B::Ok, A::Ok, A::Ok},
                      {B::OkCancel, A::Ok, A::Cancel},
                      {B::YesNo, A::Yes, A::No},
                      {B::YesNoCancel, A::Yes, A::Cancel},
                      {B::RetryCancel, A::Retry, A::Cancel},
                      {B::AbortRetryIgnore, A::Abort, A::Abort}};
  for (const Row& row : rows) {
    EXPECT_EQ(DefaultAnswer(row.buttons), row.accept);
    EXPECT_EQ(DeclineAnswer(row.buttons), row.decline);
    EXPECT_TRUE(AnswerFits(row.buttons, row.accept));
    EXPECT_TRUE(AnswerFits(row.buttons, row.decline));
  }
  EXPECT_FALSE(AnswerFits(B::Ok, A::Cancel));
  EXPECT_FALSE(AnswerFits(B::YesNo, A::Ok));
  EXPECT_FALSE(AnswerFits(B::RetryCancel, A::Ignore));
}

TEST(ConsoleMessageBox, PrintsCaptionTextAndTheAnswerTaken) {
  std::ostringstream out;
  ConsoleMessageBoxHost host(out, ConsoleAnswerPolicy::Decline);
  MessageRequest request;
  request.text = "ERROR 0000876\nTavrin Pagewick Message";
  request.caption = "Tavrin Pagewick Message";
  request.buttons = B::YesNo;
  EXPECT_EQ(host.Show(request), A::No);
  EXPECT_EQ(out.str(),
            "Tavrin Pagewick Message:\nERROR 0000876\nTavrin Pagewick Message\n[Yes/No] -> No\n");
}

TEST(ConsoleMessageBox, NoCaptionLineWithoutCaptionAndAcceptPolicy) {
  std::ostringstream out;
  ConsoleMessageBoxHost host(out, ConsoleAnswerPolicy::Accept);
  MessageRequest request;
  request.owner = MessageOwner::None;
  request.text = "!bFlag || !hPrinter. Error 020010";
  request.buttons = B::OkCancel;
  EXPECT_EQ(host.Show(request), A::Ok);
  EXPECT_EQ(out.str(), "!bFlag || !hPrinter. Error 020010\n[OK/Cancel] -> OK\n");
}

TEST(ConsoleMessageBox, PolicyFromEnvironmentWord) {
  EXPECT_EQ(ParseConsoleAnswerPolicy("accept"), ConsoleAnswerPolicy::Accept);
  EXPECT_EQ(ParseConsoleAnswerPolicy("decline"), ConsoleAnswerPolicy::Decline);
  EXPECT_FALSE(ParseConsoleAnswerPolicy("Decline").has_value());
  EXPECT_FALSE(ParseConsoleAnswerPolicy("").has_value());

  ::setenv("PAGEWICK_MSGBOX_ANSWER", "decline", 1);
  EXPECT_EQ(ConsoleMessageBoxHost().policy(), ConsoleAnswerPolicy::Decline);
  ::setenv("PAGEWICK_MSGBOX_ANSWER", "maybe", 1);
  EXPECT_EQ(ConsoleMessageBoxHost().policy(), ConsoleAnswerPolicy::Accept);
  ::unsetenv("PAGEWICK_MSGBOX_ANSWER");
  EXPECT_EQ(ConsoleMessageBoxHost().policy(), ConsoleAnswerPolicy::Accept);
}

TEST(ScriptedMessageBox, RecordsEveryRequestAndAnswersFromItsQueue) {
  auto host = std::make_shared<ScriptedMessageBoxHost>();
  SetMessageBoxHost(host);
  host->PushAnswer(A::No);
  host->PushAnswer(A::Cancel);

  EXPECT_EQ(MessageBox(MessageOwner::MainWindow, "first", kMessageCaption, B::YesNo), A::No);
  EXPECT_EQ(MessageBox(MessageOwner::None, "second", "", B::YesNoCancel, MessageIcon::Warning),
            A::Cancel);
  // Queue empty: the first button of the set.
  EXPECT_EQ(MessageBox(MessageOwner::MainWindow, "third", kMessageCaption, B::RetryCancel),
            A::Retry);
  EXPECT_EQ(host->PendingAnswers(), 0u);

  const std::vector<MessageRequest> requests = host->Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].owner, MessageOwner::None);
  EXPECT_EQ(requests[1].caption, "");
  EXPECT_EQ(requests[1].buttons, B::YesNoCancel);
  EXPECT_EQ(requests[1].icon, MessageIcon::Warning);
  EXPECT_EQ(requests[2].caption, "Tavrin Pagewick Message");
  EXPECT_EQ(host->Texts(), (std::vector<std::string>{"first", "second", "third"}));
  SetMessageBoxHost(nullptr);
}

TEST(ScriptedMessageBox, ManyThreadsLoseNoRequest) {
  ScriptedMessageBoxHost host;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&host, t] {
      for (int i = 0; i < 100; ++i) {
        MessageRequest request;
        request.text = std::to_string(t * 1000 + i);
        host.Show(request);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(host.Requests().size(), 400u);
}

TEST(MessageBoxHost, WithoutAHostTheConsoleHostAnswers) {
  SetMessageBoxHost(nullptr);
  std::shared_ptr<MessageBoxHost> host = CurrentMessageBoxHost();
  ASSERT_NE(host, nullptr);
  EXPECT_NE(dynamic_cast<ConsoleMessageBoxHost*>(host.get()), nullptr);
}

// Presses the given button of the next message box that becomes active,
// and keeps what it showed.
struct BoxPresser {
  explicit BoxPresser(QMessageBox::StandardButton button) : press(button) {}
  QMessageBox::StandardButton press;
  QString text;
  QString title;
  bool had_owner = false;
  bool plain_text = false;

  void Arm() {
    QTimer::singleShot(20, [this] { Poll(); });
  }
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      Arm();
      return;
    }
    text = box->text();
    title = box->windowTitle();
    had_owner = box->parentWidget() != nullptr;
    plain_text = box->textFormat() == Qt::PlainText;
    box->button(press)->click();
  }
};

TEST(GuiMessageBox, ShowsTheTextOnTheUiThreadAndReturnsThePressedButton) {
  QWidget main_window;
  GuiMessageBoxHost host([&] { return &main_window; });
  BoxPresser presser(QMessageBox::No);
  presser.Arm();
  MessageRequest request;
  request.text = "Save <b>now</b>?";
  request.caption = "Tavrin Pagewick Message";
  request.buttons = B::YesNoCancel;
  EXPECT_EQ(host.Show(request), A::No);
  EXPECT_EQ(presser.text, "Save <b>now</b>?");
  EXPECT_EQ(presser.title, "Tavrin Pagewick Message");
  EXPECT_TRUE(presser.had_owner);
  EXPECT_TRUE(presser.plain_text);  // markup in a file name is shown, not obeyed
}

TEST(GuiMessageBox, WorkerThreadWaitsForTheAnswerGivenOnTheUiThread) {
  GuiMessageBoxHost host([] { return nullptr; });
  BoxPresser presser(QMessageBox::Retry);
  presser.Arm();
  std::atomic<bool> on_ui_thread{true};
  std::future<MessageAnswer> answer = std::async(std::launch::async, [&] {
    on_ui_thread = QThread::currentThread() == qApp->thread();
    MessageRequest request;
    request.owner = MessageOwner::None;
    request.text = "from a worker";
    request.buttons = B::RetryCancel;
    return host.Show(request);
  });
  while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  EXPECT_FALSE(on_ui_thread);
  EXPECT_EQ(answer.get(), A::Retry);
  EXPECT_EQ(presser.text, "from a worker");
  EXPECT_FALSE(presser.had_owner);
}

}  // namespace
}  // namespace pw::platform
