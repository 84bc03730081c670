#include "output/email_delivery.h"

#include "output/output_run.h"
#include "platform/mail/mail_system.h"
#include "platform/msgbox/message_box.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::output {
namespace {

constexpr const char* kMailerCaption = "Tavrin Pagewick Mailer Message";

void Offer(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  // Without a mail system the sends do nothing and say nothing.
  if (auto mail = platform::OpenMailSystem()) mail->SendDocuments(paths);
}

std::string ReportPath(const std::string& folder) { return folder + "/Report.log"; }

void ReportFailure(const std::string& text) {
  platform::MessageBox(platform::MessageOwner::None, text, kMailerCaption, platform::MessageButtons::Ok,
                       platform::MessageIcon::Error);
}

}  // namespace

std::vector<std::string> SeriesAttachments(int page_count, int multipage_mode) {
  std::vector<std::string> paths =
      multipage_mode != 0 ? std::vector<std::string>{Run().written.Get(0)} : Run().written.First(page_count);
  std::erase_if(paths, [](const std::string& path) { return path.empty(); });
  return paths;
}

void SendSeries(int page_count) { Offer(SeriesAttachments(page_count, settings::Snapshot().KodMultipageFormat)); }

void SendSingleFile() { Offer(SeriesAttachments(1, 1)); }

void SendReport() { SendReport(settings::ReadMachineString(settings::kInstallPath).value_or(std::string())); }

void SendReport(const std::string& report_folder) {
  auto mail = platform::OpenMailSystem();
  if (!mail) {
    ReportFailure("Sorry, Pagewick cannot send Emergency Report automatically.\n"
                  "Please send the report file manually.\n" +
                  ReportPath(report_folder) + "\n\nError 000878");
    return;
  }
  platform::MailMessage message;
  message.subject = "Tavrin Pagewick Emergency Report";
  message.note = "Describe the problems in detail, please:\r\n";
  message.recipients.push_back({"TavrinSoftware Support", kSupportAddress});
  message.attachments.push_back({Run().written.Get(0), "Report.log"});
  if (!mail->SendMail(message)) {
    ReportFailure(std::string("Sorry, Pagewick cannot send Emergency Report automatically.\n"
                              "Please send the report file manually to '") +
                  kSupportAddress + "'.\n" + ReportPath(report_folder) + "\n\nError 000876");
  }
}

}  // namespace pw::output
