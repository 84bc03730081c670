#pragma once
// The mail system that offers files to the user's mail client. Which one is
// used is chosen by $PAGEWICK_MAIL:
//   xdg          the desktop's mail client through xdg-email (the default
//                when xdg-email is installed)
//   outbox:DIR   an RFC 5322 draft (.eml, attachments in base64) in DIR
//   none         no mail system, as on a machine without one (the default
//                when xdg-email is missing)
// A send opens the mail system, uses it and closes it again; nothing stays
// open between sends.
#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

struct MailRecipient {
  std::string name;
  std::string address;
};

struct MailAttachment {
  std::string path;       // the file to attach
  std::string file_name;  // the name the message shows; empty: the path's own
};

struct MailMessage {
  std::string subject;
  std::string note;  // the body text
  std::vector<MailRecipient> recipients;
  std::vector<MailAttachment> attachments;
};

class MailSystem {
 public:
  virtual ~MailSystem() = default;
  // Offers a new message with the files attached for the user to address
  // and send. True when the mail client took it.
  virtual bool SendDocuments(const std::vector<std::string>& paths) = 0;
  // Offers a complete message to the user before it is sent. True when the
  // mail client took it.
  virtual bool SendMail(const MailMessage& message) = 0;
};

// The mail system $PAGEWICK_MAIL names; nothing for "none", for a value
// that names no mail system, or when the chosen one is not installed.
std::unique_ptr<MailSystem> OpenMailSystem();

}  // namespace pw::platform
