#include "platform/msgbox/message_answers.h"

namespace pw::platform {

MessageAnswer DefaultAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
      return MessageAnswer::Retry;
    case MessageButtons::AbortRetryIgnore:
      return MessageAnswer::Abort;
  }
  return MessageAnswer::Ok;
}

MessageAnswer DeclineAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::AbortRetryIgnore:
      return MessageAnswer::Abort;
  }
  return MessageAnswer::Ok;
}

bool AnswerFits(MessageButtons buttons, MessageAnswer answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
      return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      return answer == MessageAnswer::Yes || answer == MessageAnswer::No ||
             answer == MessageAnswer::Cancel;
    case MessageButtons::RetryCancel:
      return answer == MessageAnswer::Retry || answer == MessageAnswer::Cancel;
    case MessageButtons::AbortRetryIgnore:
      return answer == MessageAnswer::Abort || answer == MessageAnswer::Retry ||
             answer == MessageAnswer::Ignore;
  }
  return false;
}

std::string_view AnswerName(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok: return "OK";
    case MessageAnswer::Cancel: return "Cancel";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    case MessageAnswer::Retry: return "Retry";
    case MessageAnswer::Abort: return "Abort";
    case MessageAnswer::Ignore: return "Ignore";
  }
  return "?";
}

}  // namespace pw::platform
