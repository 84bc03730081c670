// The option commands as the frame routes them in Quick Start Reference
// mode: a key asks to leave the mode first, while an item of the command
// panel's Options pop-up, which the panel has asked about before opening
// it, runs without asking again.
#include "app/window_option_host.h"

#include "platform/msgbox/scripted_message_box.h"
#include "res/command_ids.h"
#include "settings/settings_record.h"
#include "ui/command_panel.h"
#include "ui/frame_win.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace pw::app {
namespace {

using platform::MessageAnswer;

class OptionRoutingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Update([](settings::Settings& s) {
      s = settings::Settings{};
      s.QuickStartReference = true;
      s.KodAntialias = 3;
    });
    messages_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(messages_);
  }
  void TearDown() override { platform::SetMessageBoxHost(nullptr); }

  std::shared_ptr<platform::ScriptedMessageBoxHost> messages_;
};

// Chooses the command's item of the pop-up that is open when the event
// loop next runs; false when there is no pop-up or no enabled item.
void ChooseFromPopUp(int command, bool& chosen) {
  QTimer::singleShot(0, [command, &chosen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->findChildren<QAction*>()) {
      if (action->data().toInt() == command && action->isEnabled()) {
        action->trigger();
        chosen = true;
      }
    }
    menu->close();
  });
}

TEST_F(OptionRoutingTest, PopUpItemAfterNoAtThePanelRunsWithoutAskingAgain) {
  ui::lvFrameWin frame;
  frame.createWindow(0, 0, 800, 600);
  const std::unique_ptr<WindowOptionHost> host = InstallOptionCommands(frame);
  frame.show();

  messages_->PushAnswer(MessageAnswer::No);
  bool chosen = false;
  ChooseFromPopUp(res::cmd::kAntialias7x, chosen);
  QTest::mouseClick(frame.panel().button(2), Qt::LeftButton);  // the Options button
  ASSERT_TRUE(chosen);
  EXPECT_EQ(messages_->Requests().size(), 1u);  // the panel's question only
  EXPECT_EQ(settings::Snapshot().KodAntialias, 7);
  EXPECT_TRUE(settings::Snapshot().QuickStartReference);

  // A key still asks, and No drops its command.
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  messages_->PushAnswer(MessageAnswer::No);
  QTest::keyClick(&frame, Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(messages_->Requests().size(), 2u);
  EXPECT_EQ(settings::Snapshot().KodAntialias, 7);
  EXPECT_TRUE(settings::Snapshot().QuickStartReference);

  // Yes ends the mode and runs it.
  messages_->PushAnswer(MessageAnswer::Yes);
  QTest::keyClick(&frame, Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(messages_->Requests().size(), 3u);
  EXPECT_EQ(settings::Snapshot().KodAntialias, 2);
  EXPECT_FALSE(settings::Snapshot().QuickStartReference);
}

}  // namespace
}  // namespace pw::app
