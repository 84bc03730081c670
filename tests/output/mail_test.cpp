#include <gtest/gtest.h>

#include <QByteArray>

#include <filesystem>
#include <fstream>
#include <regex>

#include "output/email_delivery.h"
#include "output/image_series_writer.h"
#include "output/run_guards.h"
#include "output_fixtures.h"
#include "tests/support/test_home.h"
#include "platform/mail/eml_draft.h"
#include "settings/settings_store.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

struct Part {
  std::string file_name;
  QByteArray data;
};

// The attachments of a draft, in order, decoded.
std::vector<Part> Attachments(const std::string& draft) {
  std::vector<Part> parts;
  const std::regex part(R"re(filename="([^"]+)"\r\n\r\n([A-Za-z0-9+/=\r\n]*))re");
  for (std::sregex_iterator it(draft.begin(), draft.end(), part), end; it != end; ++it) {
    std::string body = (*it)[2];
    std::erase_if(body, [](char c) { return c == '\r' || c == '\n'; });
    parts.push_back({(*it)[1], QByteArray::fromBase64(QByteArray::fromStdString(body))});
  }
  return parts;
}

class MailTest : public WriterTest {
 protected:
  void TearDown() override {
    unsetenv("PAGEWICK_MAIL");
    WriterTest::TearDown();
  }
  std::string UseOutbox() {
    const std::string outbox = OutDir("outbox");
    setenv("PAGEWICK_MAIL", ("outbox:" + outbox).c_str(), 1);
    return outbox;
  }
};

TEST_F(MailTest, ThreePageSeriesIsOneDraftWithThreeAttachmentsInOrder) {
  LoadPages(3);
  const std::string outbox = UseOutbox();
  const std::string dir = OutDir();
  target = {dir, "Mail"};
  output::Run().send_after_run = true;
  EXPECT_EQ(output::WriteImageSeries(Job()).exit_code, 0);

  const auto drafts = FileNames(outbox);
  ASSERT_EQ(drafts.size(), 1u);
  const std::string draft = ReadText(outbox + drafts[0]);
  EXPECT_NE(draft.find("MIME-Version: 1.0\r\n"), std::string::npos);
  EXPECT_NE(draft.find("Content-Type: multipart/mixed; boundary="), std::string::npos);
  const auto parts = Attachments(draft);
  ASSERT_EQ(parts.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const std::string name = "Mail000" + std::to_string(i + 1) + ".jpg";
    EXPECT_EQ(parts[i].file_name, name);
    EXPECT_EQ(parts[i].data.toStdString(), ReadText(dir + name));
  }
  EXPECT_FALSE(output::Run().send_after_run.load());
}

TEST_F(MailTest, PathListRules) {
  output::Run().written.Set(0, "/a");
  output::Run().written.Set(1, "/b");
  output::Run().written.Set(2, "/c");
  EXPECT_EQ(output::SeriesAttachments(3, 0), (std::vector<std::string>{"/a", "/b", "/c"}));
  EXPECT_EQ(output::SeriesAttachments(2, 0), (std::vector<std::string>{"/a", "/b"}));
  EXPECT_EQ(output::SeriesAttachments(3, 1), std::vector<std::string>{"/a"});
}

TEST_F(MailTest, NoMailSystemSendsNothingAndTheReportSaysError000878) {
  setenv("PAGEWICK_MAIL", "none", 1);
  output::Run().written.Set(0, "/nowhere/x.jpg");
  output::SendSingleFile();
  EXPECT_TRUE(messages->Texts().empty());
  ASSERT_TRUE(settings::WriteUserString("InstallPath", "unused"));  // a user value is not the machine's
  output::SendReport();
  const std::string install = settings::ReadMachineString("InstallPath").value_or(std::string());
  ASSERT_EQ(messages->Texts().size(), 1u);
  EXPECT_EQ(messages->Texts()[0],
            "Sorry, Pagewick cannot send Emergency Report automatically.\nPlease send the report file manually.\n" +
                install + "/Report.log\n\nError 000878");
  EXPECT_EQ(messages->Requests()[0].caption, "Tavrin Pagewick Mailer Message");
  EXPECT_EQ(messages->Requests()[0].icon, platform::MessageIcon::Error);
}

TEST_F(MailTest, ReportGoesToSupportOrSaysError000876) {
  const std::string outbox = UseOutbox();
  const std::string report = OutDir() + "some-report.log";
  { std::ofstream(report) << "facts\n"; }
  output::Run().written.Set(0, report);
  output::SendReport();
  EXPECT_TRUE(messages->Texts().empty());
  const auto drafts = FileNames(outbox);
  ASSERT_EQ(drafts.size(), 1u);
  const std::string draft = ReadText(outbox + drafts[0]);
  EXPECT_NE(draft.find("To: \"TavrinSoftware Support\" <support@pagewick.example>\r\n"), std::string::npos);
  EXPECT_NE(draft.find("Subject: Tavrin Pagewick Emergency Report\r\n"), std::string::npos);
  EXPECT_NE(draft.find("Describe the problems in detail, please:\r\n"), std::string::npos);
  const auto parts = Attachments(draft);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].file_name, "Report.log");
  EXPECT_EQ(parts[0].data.toStdString(), "facts\n");

  output::Run().written.Set(0, report + ".gone");  // the client cannot take it
  output::SendReport();
  ASSERT_EQ(messages->Texts().size(), 1u);
  EXPECT_NE(messages->Texts()[0].find("manually to 'support@pagewick.example'.\n"), std::string::npos);
  EXPECT_TRUE(messages->Texts()[0].ends_with("/Report.log\n\nError 000876"));
}

TEST(EmlDraft, NonAsciiNamesAreEncodedAndLinesEndInCrlf) {
  const std::string dir = (TempDir() / "eml").string() + "/";
  fs::create_directories(dir);
  { std::ofstream(dir + "f.bin", std::ios::binary) << std::string(100, '\xff'); }
  platform::MailMessage message;
  message.subject = "Bericht \xc3\xbc";
  message.note = "one\ntwo";
  message.attachments.push_back({dir + "f.bin", "\xc3\xa4.bin"});
  auto text = platform::ComposeDraft(message, "<me@example.org>", "BOUND");
  ASSERT_TRUE(text.has_value()) << text.error();
  EXPECT_NE(text->find("Subject: =?UTF-8?B?QmVyaWNodCDDvA==?=\r\n"), std::string::npos);
  EXPECT_NE(text->find("filename*=UTF-8''%C3%A4.bin\r\n"), std::string::npos);
  EXPECT_NE(text->find("one\r\ntwo\r\n"), std::string::npos);
  EXPECT_TRUE(text->ends_with("--BOUND--\r\n"));
  for (std::size_t at = text->find('\n'); at != std::string::npos; at = text->find('\n', at + 1))
    ASSERT_EQ((*text)[at - 1], '\r');

  message.attachments.push_back({dir + "absent.bin", {}});
  auto failed = platform::ComposeDraft(message, "<me@example.org>", "BOUND");
  ASSERT_FALSE(failed.has_value());
  EXPECT_NE(failed.error().find("absent.bin"), std::string::npos);
}

}  // namespace
}  // namespace pw::test
