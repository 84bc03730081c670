#include "platform/msgbox/console_message_box.h"

#include "platform/msgbox/message_answers.h"

#include <cstdlib>
#include <iostream>

namespace pw::platform {
namespace {

std::string_view ButtonsText(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return "OK";
    case MessageButtons::OkCancel: return "OK/Cancel";
    case MessageButtons::YesNo: return "Yes/No";
    case MessageButtons::YesNoCancel: return "Yes/No/Cancel";
    case MessageButtons::RetryCancel: return "Retry/Cancel";
    case MessageButtons::AbortRetryIgnore: return "Abort/Retry/Ignore";
  }
  return "?";
}

ConsoleAnswerPolicy PolicyFromEnvironment() {
  const char* word = std::getenv("PAGEWICK_MSGBOX_ANSWER");
  if (!word) return ConsoleAnswerPolicy::Accept;
  return ParseConsoleAnswerPolicy(word).value_or(ConsoleAnswerPolicy::Accept);
}

}  // namespace

std::optional<ConsoleAnswerPolicy> ParseConsoleAnswerPolicy(std::string_view word) {
  if (word == "accept") return ConsoleAnswerPolicy::Accept;
  if (word == "decline") return ConsoleAnswerPolicy::Decline;
  return std::nullopt;
}

ConsoleMessageBoxHost::ConsoleMessageBoxHost()
    : ConsoleMessageBoxHost(std::cerr, PolicyFromEnvironment()) {}

ConsoleMessageBoxHost::ConsoleMessageBoxHost(std::ostream& out, ConsoleAnswerPolicy policy)
    : out_(out), policy_(policy) {}

MessageAnswer ConsoleMessageBoxHost::Show(const MessageRequest& request) {
  const MessageAnswer answer = policy_ == ConsoleAnswerPolicy::Accept
                                   ? DefaultAnswer(request.buttons)
                                   : DeclineAnswer(request.buttons);
  std::lock_guard lock(mutex_);
  // One block per message: the caption (if any), the text, then the
  // buttons offered and the one taken, so a log reads like the dialog did.
  if (!request.caption.empty()) out_ << request.caption << ":\n";
  out_ << request.text << "\n[" << ButtonsText(request.buttons) << "] -> " << AnswerName(answer)
       << '\n';
  out_.flush();
  return answer;
}

}  // namespace pw::platform
