#include "platform/msgbox/scripted_message_box.h"

#include "platform/msgbox/message_answers.h"

namespace pw::platform {

void ScriptedMessageBoxHost::PushAnswer(MessageAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

MessageAnswer ScriptedMessageBoxHost::Show(const MessageRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (answers_.empty()) return DefaultAnswer(request.buttons);
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<MessageRequest> ScriptedMessageBoxHost::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> ScriptedMessageBoxHost::Texts() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  texts.reserve(requests_.size());
  for (const MessageRequest& request : requests_) texts.push_back(request.text);
  return texts;
}

std::size_t ScriptedMessageBoxHost::PendingAnswers() const {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

}  // namespace pw::platform
