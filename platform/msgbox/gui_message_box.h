#pragma once
// The message box of the windowed program: a QMessageBox on the
// user-interface thread. Calls from worker threads are carried over to it
// and wait there for the answer, so a worker that asks never runs on
// before the user has answered.
//
// A worker must not ask while the user-interface thread waits for that
// worker: the question would wait for a thread that waits for it.
#include "platform/msgbox/message_box.h"

#include <functional>

class QWidget;

namespace pw::platform {

class GuiMessageBoxHost final : public MessageBoxHost {
 public:
  // main_window gives the owner of MessageOwner::MainWindow boxes; it is
  // asked on the user-interface thread each time, and may give nullptr.
  explicit GuiMessageBoxHost(std::function<QWidget*()> main_window);

  MessageAnswer Show(const MessageRequest& request) override;

 private:
  MessageAnswer ShowHere(const MessageRequest& request);

  std::function<QWidget*()> main_window_;
};

}  // namespace pw::platform
