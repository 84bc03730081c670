#pragma once
// What each button set can answer, for hosts that answer without a user.
#include "platform/msgbox/message_box.h"

#include <string_view>

namespace pw::platform {

// The button a user accepting the message presses: OK, Yes, Retry or Abort
// (the first button of each set).
MessageAnswer DefaultAnswer(MessageButtons buttons);

// The button a user declining the message presses: Cancel or No where the
// set has one; OK for a lone OK; Abort for Abort/Retry/Ignore.
MessageAnswer DeclineAnswer(MessageButtons buttons);

// Whether the button set has that button.
bool AnswerFits(MessageButtons buttons, MessageAnswer answer);

// The button's label as a user reads it ("OK", "Cancel", "Yes", ...).
std::string_view AnswerName(MessageAnswer answer);

}  // namespace pw::platform
