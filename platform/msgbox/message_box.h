#pragma once
// Message boxes. Every text the program shows the user goes through here,
// so the GUI, the command-line tools and the tests each choose how a
// question is put and answered.
#include <memory>
#include <string>
#include <string_view>

namespace pw::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// Whose window a message box belongs to. The printer checks show theirs
// with no owner and no caption.
enum class MessageOwner { None, MainWindow };

struct MessageRequest {
  MessageOwner owner = MessageOwner::MainWindow;
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

class MessageBoxHost {
 public:
  virtual ~MessageBoxHost() = default;
  // Shows the message and returns the pressed button. May be called from
  // any thread; implementations marshal to where they must.
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// The usual caption of the program's messages.
inline constexpr std::string_view kMessageCaption = "Tavrin Pagewick Message";

// Installs the host used by MessageBox (the console host until one is set).
void SetMessageBoxHost(std::shared_ptr<MessageBoxHost> host);
std::shared_ptr<MessageBoxHost> CurrentMessageBoxHost();

MessageAnswer MessageBox(MessageOwner owner, std::string_view text, std::string_view caption,
                         MessageButtons buttons = MessageButtons::Ok,
                         MessageIcon icon = MessageIcon::None);

}  // namespace pw::platform
