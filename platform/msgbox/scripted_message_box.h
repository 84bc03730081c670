#pragma once
// The message box of tests: every request is recorded, and answers come
// from a queue the test fills beforehand. Safe to use from any thread.
#include "platform/msgbox/message_box.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace pw::platform {

class ScriptedMessageBoxHost final : public MessageBoxHost {
 public:
  // Queues the answer to the next unanswered request.
  void PushAnswer(MessageAnswer answer);

  // Takes the next queued answer; with the queue empty, the set's first
  // button (OK, Yes, Retry, Abort). A queued answer the set does not offer
  // is still returned, so a test can see its script was wrong in the
  // recorded request rather than have it silently replaced.
  MessageAnswer Show(const MessageRequest& request) override;

  std::vector<MessageRequest> Requests() const;
  std::vector<std::string> Texts() const;
  std::size_t PendingAnswers() const;

 private:
  mutable std::mutex mutex_;
  std::vector<MessageRequest> requests_;
  std::deque<MessageAnswer> answers_;
};

}  // namespace pw::platform
