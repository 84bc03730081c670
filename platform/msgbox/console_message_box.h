#pragma once
// The message box of programs without windows: the message goes to standard
// error (or a given stream) and is answered at once by a fixed policy.
#include "platform/msgbox/message_box.h"

#include <iosfwd>
#include <mutex>
#include <optional>
#include <string_view>

namespace pw::platform {

enum class ConsoleAnswerPolicy {
  Accept,   // OK, Yes, Retry or Abort: the first button of the set
  Decline,  // Cancel or No where the set has one
};

// "accept" or "decline"; anything else is no policy.
std::optional<ConsoleAnswerPolicy> ParseConsoleAnswerPolicy(std::string_view word);

class ConsoleMessageBoxHost final : public MessageBoxHost {
 public:
  // Writes to std::cerr; the policy comes from $PAGEWICK_MSGBOX_ANSWER
  // ("accept" or "decline"), else Accept.
  ConsoleMessageBoxHost();
  ConsoleMessageBoxHost(std::ostream& out, ConsoleAnswerPolicy policy);

  MessageAnswer Show(const MessageRequest& request) override;

  ConsoleAnswerPolicy policy() const { return policy_; }

 private:
  std::ostream& out_;
  ConsoleAnswerPolicy policy_;
  std::mutex mutex_;  // one message at a time, lines never interleaved
};

}  // namespace pw::platform
