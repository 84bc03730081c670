#include "platform/mail/mail_system.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
#include <string_view>

#include "platform/mail/eml_draft.h"

namespace pw::platform {
namespace {

class OutboxMail final : public MailSystem {
 public:
  explicit OutboxMail(std::string folder) : folder_(std::move(folder)) {}

  bool SendDocuments(const std::vector<std::string>& paths) override {
    MailMessage message;
    for (const std::string& path : paths) message.attachments.push_back({path, {}});
    return SendMail(message);
  }

  bool SendMail(const MailMessage& message) override { return WriteDraft(folder_, message).has_value(); }

 private:
  std::string folder_;
};

// xdg-email opens the user's mail client with a new message and returns.
class XdgMail final : public MailSystem {
 public:
  explicit XdgMail(QString program) : program_(std::move(program)) {}

  bool SendDocuments(const std::vector<std::string>& paths) override {
    MailMessage message;
    for (const std::string& path : paths) message.attachments.push_back({path, {}});
    return SendMail(message);
  }

  bool SendMail(const MailMessage& message) override {
    QStringList args;
    if (!message.subject.empty()) args << "--subject" << QString::fromStdString(message.subject);
    if (!message.note.empty()) args << "--body" << QString::fromStdString(message.note);
    for (const MailAttachment& attachment : message.attachments)
      args << "--attach" << QString::fromStdString(attachment.path);
    for (const MailRecipient& recipient : message.recipients)
      args << QString::fromStdString(recipient.address);
    return QProcess::execute(program_, args) == 0;
  }

 private:
  QString program_;
};

std::unique_ptr<MailSystem> OpenXdg() {
  const QString program = QStandardPaths::findExecutable("xdg-email");
  if (program.isEmpty()) return nullptr;
  return std::make_unique<XdgMail>(program);
}

}  // namespace

std::unique_ptr<MailSystem> OpenMailSystem() {
  const char* chosen = std::getenv("PAGEWICK_MAIL");
  const std::string_view choice = chosen ? chosen : "";
  if (choice.empty() || choice == "xdg") return OpenXdg();
  constexpr std::string_view kOutbox = "outbox:";
  if (choice.starts_with(kOutbox) && choice.size() > kOutbox.size()) {
    std::string folder(choice.substr(kOutbox.size()));
    if (folder.back() != '/') folder += '/';
    return std::make_unique<OutboxMail>(std::move(folder));
  }
  return nullptr;
}

}  // namespace pw::platform
