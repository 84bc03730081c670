// The save and send commands over a scripted host: each command's way
// through its dialog and questions, the names and limits, what is stored
// and when, and what the run it starts writes or sends.
#include "output/save_commands.h"

#include <cstdio>
#include <deque>
#include <fstream>
#include <future>
#include <regex>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "intake/handshake.h"
#include "output/pdf_writer.h"
#include "pages/page_render.h"
#include "pages/page_set.h"
#include "platform/paths/paths.h"
#include "platform/registry/registry.h"
#include "settings/option_commands.h"
#include "settings/output_format.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"
#include "tests/output/output_fixtures.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;
using output::MailFormatChoice;
using output::SaveDialogKind;
using output::SaveDialogRequest;
using output::SaveDialogResult;
using platform::MessageAnswer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The option operations the commands call, recorded into the host's trace;
// the current page is really rendered again.
class TracedOptions final : public settings::OptionHost {
 public:
  explicit TracedOptions(std::vector<std::string>& calls) : calls_(calls) {}
  void SetWaitCursor(bool on) override { calls_.push_back(on ? "wait on" : "wait off"); }
  bool RefreshCurrentPage() override {
    calls_.push_back("refresh");
    return pages::RefreshCurrentPage();
  }
  void ScrollPageViewToOrigin() override { calls_.push_back("scroll"); }
  void RerenderThumbnails() override { calls_.push_back("thumbnails"); }
  std::optional<settings::ResolutionResult> RunResolutionDialog() override {
    calls_.push_back("resolution dialog");
    return resolution;
  }
  bool RunImageFormatSheet(settings::ImageFormatValues&) override { return false; }
  bool RunHatchDialog() override { return false; }

  std::optional<settings::ResolutionResult> resolution;  // nothing: Cancel

 private:
  std::vector<std::string>& calls_;
};

// Dialog answers come from queues; an empty queue cancels.
class ScriptedSaveHost final : public output::SaveHost {
 public:
  ScriptedSaveHost(std::shared_ptr<output::WriterView> view, std::shared_ptr<render::RenderView> render_view)
      : view_(std::move(view)), render_view_(std::move(render_view)) {}

  settings::OptionHost& Options() override { return options; }
  std::optional<SaveDialogResult> RunSaveDialog(const SaveDialogRequest& request) override {
    calls.push_back("save dialog");
    requests.push_back(request);
    if (dialog_answers.empty()) return std::nullopt;
    auto answer = dialog_answers.front();
    dialog_answers.pop_front();
    return answer;
  }
  std::optional<MailFormatChoice> RunMailFormatDialog(int stored_format, bool save_file_opt) override {
    calls.push_back("mail dialog " + std::to_string(stored_format) + (save_file_opt ? " options" : ""));
    return mail_answer;
  }
  bool RunSingleFormatSheet() override {
    calls.push_back("single sheet");
    return single_sheet_ok;
  }
  bool RunExtraFormatSheet(int kind) override {
    calls.push_back("extra sheet " + std::to_string(kind));
    return true;
  }
  void RedrawPageView() override { calls.push_back("redraw"); }
  std::shared_ptr<output::WriterView> RunView() override { return view_; }
  std::shared_ptr<render::RenderView> RunRenderView() override { return render_view_; }

  // Queues a confirmed dialog.
  void Confirm(std::string path, int filter_index, bool save_file_opt = false, bool start_file_opt = false) {
    dialog_answers.push_back(SaveDialogResult{std::move(path), filter_index, save_file_opt, start_file_opt});
  }
  // Queues a cancelled one in front of later answers.
  void Cancel() { dialog_answers.push_back(std::nullopt); }

  std::vector<std::string> calls;
  TracedOptions options{calls};
  std::deque<std::optional<SaveDialogResult>> dialog_answers;
  std::vector<SaveDialogRequest> requests;
  std::optional<MailFormatChoice> mail_answer;
  bool single_sheet_ok = false;

 private:
  std::shared_ptr<output::WriterView> view_;
  std::shared_ptr<render::RenderView> render_view_;
};

std::string Head(const std::string& path, std::size_t n) { return ReadText(path).substr(0, n); }

int Stored(std::string_view name) { return settings::ReadUserDword(name); }

// The attachment names of a draft, in order.
std::vector<std::string> AttachmentNames(const std::string& draft) {
  std::vector<std::string> names;
  const std::regex part(R"re(filename="([^"]+)")re");
  for (std::sregex_iterator it(draft.begin(), draft.end(), part), end; it != end; ++it) names.push_back((*it)[1]);
  return names;
}

int PdfPages(const std::string& pdf) {
  std::FILE* pipe = ::popen(("qpdf --show-npages '" + pdf + "' 2>/dev/null").c_str(), "r");
  if (!pipe) return -1;
  int pages = -1;
  if (std::fscanf(pipe, "%d", &pages) != 1) pages = -1;
  ::pclose(pipe);
  return pages;
}

class SaveCommandsTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    settings::WriteUserString(settings::kCurDocName, "Minutes.2007.doc");
    ASSERT_TRUE(intake::ReadDocumentName());
    settings::MakeOutputFormat(settings::OutputFormat::Jpg);
    host = std::make_unique<ScriptedSaveHost>(view, hook);
    outbox = OutDir("outbox");
    setenv("PAGEWICK_MAIL", ("outbox:" + outbox).c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PAGEWICK_MAIL");
    WriterTest::TearDown();
  }

  // The one draft in the outbox.
  std::string Draft() {
    const auto drafts = FileNames(outbox);
    if (drafts.size() != 1) return {};
    return ReadText(outbox + drafts[0]);
  }

  std::unique_ptr<ScriptedSaveHost> host;
  std::string outbox;
};

TEST_F(SaveCommandsTest, SeriesSaveOffersTheDocumentNameAndWritesTheChosenFormat) {
  LoadPages(3);
  settings::MakeOutputFormat(settings::OutputFormat::Png);
  settings::WriteUserString(settings::kSavePath, "/earlier/folder/");
  const std::string out = OutDir();
  host->Confirm(out + "Minutes", 1, /*save_file_opt=*/false);

  output::SaveImageSeries(*host);
  output::WaitForWriter();

  ASSERT_EQ(host->requests.size(), 1u);
  const SaveDialogRequest& request = host->requests[0];
  EXPECT_EQ(request.kind, SaveDialogKind::ImageOptions);
  ASSERT_EQ(request.filters.size(), 5u);
  EXPECT_EQ(request.filters[0].description, "JPG (JPEG file interchange format)");
  EXPECT_EQ(request.filters[4].description, "TIF (TIFF Tagged Image File Format)");
  EXPECT_EQ(request.filters[4].pattern, "*.tif");
  EXPECT_EQ(request.filter_index, 3);  // PNG
  EXPECT_EQ(request.initial_folder, "/earlier/folder/");
  EXPECT_EQ(request.file_name, "Minutes");
  EXPECT_TRUE(request.save_file_opt);

  EXPECT_THAT(FileNames(out), ElementsAre("Minutes0001.jpg", "Minutes0002.jpg", "Minutes0003.jpg"));
  EXPECT_EQ(Head(out + "Minutes0002.jpg", 3), "\xFF\xD8\xFF");
  // The window was shown each page, with its place in the run, as it was written.
  const auto shown = view->PagesShown();
  ASSERT_EQ(shown.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(shown[i].index, i);
    EXPECT_EQ(shown[i].count, 3);
    EXPECT_GT(shown[i].columns, 0);
  }
  EXPECT_EQ(settings::ReadUserString(settings::kSavePath), out);
  EXPECT_EQ(Stored("JPG_Default"), 1);
  EXPECT_EQ(Stored("PNG_Default"), 0);
  // The unticked box was stored, so no sheet followed.
  EXPECT_EQ(Stored("SaveFile_Opt"), 0);
  EXPECT_THAT(host->calls, ::testing::Not(::testing::Contains("single sheet")));
  EXPECT_THAT(messages->Texts(), IsEmpty());
}

TEST_F(SaveCommandsTest, SeriesSaveWithImageOptionsShowsTheSheetAndRendersThePageAgainAfterOk) {
  LoadPages(1);
  const std::string out = OutDir();
  host->Confirm(out + "a.jpg", 1, /*save_file_opt=*/true);
  host->single_sheet_ok = true;

  output::SaveImageSeries(*host);
  output::WaitForWriter();

  EXPECT_THAT(host->calls, ElementsAre("save dialog", "single sheet", "wait on", "refresh", "wait off"));
  EXPECT_THAT(FileNames(out), ElementsAre("a0001.jpg"));

  // Cancel in the sheet renders nothing again, and the run starts all the same.
  host->calls.clear();
  host->single_sheet_ok = false;
  host->Confirm(out + "b.jpg", 1, true);
  output::SaveImageSeries(*host);
  output::WaitForWriter();
  EXPECT_THAT(host->calls, ElementsAre("save dialog", "single sheet"));
  EXPECT_THAT(FileNames(out), ElementsAre("a0001.jpg", "b0001.jpg"));
}

TEST_F(SaveCommandsTest, NoToReplaceReopensTheDialogAndCancelThereKeepsWhatWasStored) {
  LoadPages(2);
  settings::MakeOutputFormat(settings::OutputFormat::Png);
  const std::string out = OutDir();
  { std::ofstream(out + "Old0001.jpg") << "old"; }
  host->Confirm(out + "Old.jpg", 1, false);
  messages->PushAnswer(MessageAnswer::No);

  output::SaveImageSeries(*host);
  output::WaitForWriter();

  ASSERT_EQ(messages->Requests().size(), 1u);
  const platform::MessageRequest question = messages->Requests()[0];
  EXPECT_EQ(question.text, out + "Old0001.jpg already exists. Replace?");
  EXPECT_EQ(question.caption, "Save As");
  EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(question.icon, platform::MessageIcon::Warning);
  // The dialog came back where the user left it, and was cancelled.
  ASSERT_EQ(host->requests.size(), 2u);
  EXPECT_EQ(host->requests[1].initial_folder, out);
  EXPECT_EQ(host->requests[1].file_name, "Old");
  EXPECT_EQ(host->requests[1].filter_index, 1);
  EXPECT_EQ(ReadText(out + "Old0001.jpg"), "old");
  EXPECT_THAT(FileNames(out), ElementsAre("Old0001.jpg"));
  // Folder and format were stored when the dialog was confirmed.
  EXPECT_EQ(settings::ReadUserString(settings::kSavePath), out);
  EXPECT_EQ(Stored("JPG_Default"), 1);

  // Yes replaces.
  host->Confirm(out + "Old.jpg", 1, false);
  messages->PushAnswer(MessageAnswer::Yes);
  output::SaveImageSeries(*host);
  output::WaitForWriter();
  EXPECT_THAT(FileNames(out), ElementsAre("Old0001.jpg", "Old0002.jpg"));
  EXPECT_EQ(Head(out + "Old0001.jpg", 3), "\xFF\xD8\xFF");
}

TEST_F(SaveCommandsTest, SeriesSaveRefusesAFirstNameLongerThan146Characters) {
  LoadPages(1);
  const std::string out = OutDir();
  // folder + "/" + base + "0001.jpg"
  const auto base_of_length = [&out](std::size_t total) {
    return std::string(total - out.size() - 1 - 8, 'n');
  };
  ASSERT_GT(146u, out.size() + 1 + 8 + 10);

  host->Confirm(out + base_of_length(147) + ".jpg", 1, false);
  output::SaveImageSeries(*host);
  output::WaitForWriter();
  ASSERT_EQ(messages->Requests().size(), 1u);
  EXPECT_EQ(messages->Requests()[0].text, "The name you entered is too long.\nEnter a shorter name.");
  EXPECT_EQ(messages->Requests()[0].owner, platform::MessageOwner::None);
  EXPECT_THAT(FileNames(out), IsEmpty());
  EXPECT_EQ(settings::ReadUserString(settings::kSavePath), out);

  host->Confirm(out + base_of_length(146) + ".jpg", 1, false);
  output::SaveImageSeries(*host);
  output::WaitForWriter();
  EXPECT_EQ(messages->Requests().size(), 1u);
  EXPECT_EQ(FileNames(out).size(), 1u);
}

TEST_F(SaveCommandsTest, PdfBelow100DpiAsksAndNoOpensTheResolutionDialogUntilTheResolutionSuffices) {
  LoadPages(1);
  settings::Update([](settings::Settings& s) { s.ResCur = 99.9; });

  // Cancel ends the command before anything is put aside.
  messages->PushAnswer(MessageAnswer::Cancel);
  output::SaveMultipagePdf(*host);
  ASSERT_EQ(messages->Requests().size(), 1u);
  EXPECT_EQ(messages->Requests()[0].text,
            "Current resolution 99 dpi is too small for PDF.\nRecommended resolution is 100 to 300 dpi.\n"
            "Continue with current resolution?");
  EXPECT_EQ(messages->Requests()[0].buttons, platform::MessageButtons::YesNoCancel);
  EXPECT_EQ(messages->Requests()[0].icon, platform::MessageIcon::Question);
  EXPECT_THAT(host->requests, IsEmpty());
  EXPECT_FALSE(fs::exists(output::PutAsidePath()));

  // No opens the resolution dialog; a Cancel there keeps 99.9, so it asks
  // again; Yes goes on at 99.9 to the save dialog.
  messages->PushAnswer(MessageAnswer::No);
  messages->PushAnswer(MessageAnswer::No);
  host->options.resolution = std::nullopt;
  output::SaveMultipagePdf(*host);  // the third question takes the box's default, Yes
  EXPECT_EQ(messages->Requests().size(), 4u);
  EXPECT_EQ(host->requests.size(), 1u);

  // A No that sets 150 dpi in the dialog goes on without asking again.
  host->options.resolution = settings::ResolutionResult{2, 150.0, 100};
  messages->PushAnswer(MessageAnswer::No);
  output::SaveMultipagePdf(*host);
  EXPECT_EQ(messages->Requests().size(), 5u);
  EXPECT_EQ(host->requests.size(), 2u);
  EXPECT_EQ(Stored("ResCur"), 1500);

  // At exactly 100 dpi nothing is asked.
  settings::Update([](settings::Settings& s) { s.ResCur = 100.0; });
  output::SaveMultipagePdf(*host);
  EXPECT_EQ(messages->Requests().size(), 5u);
  EXPECT_EQ(host->requests.size(), 3u);
}

TEST_F(SaveCommandsTest, PdfSaveStoresTheCopiesOnConfirmationWritesThreePagesAndOpensThePdf) {
  LoadPages(3);
  settings::Update([](settings::Settings& s) { s.ResCur = 100.0; });
  settings::Change(&settings::Settings::StartFile_Opt, false);
  const std::string out = OutDir();

  // A cancelled dialog stores nothing of what its boxes showed.
  host->Cancel();
  output::SaveMultipagePdf(*host);
  EXPECT_EQ(Stored("StartFile_Opt"), 0);
  EXPECT_EQ(host->requests[0].kind, SaveDialogKind::ImageOptionsAndStart);
  ASSERT_EQ(host->requests[0].filters.size(), 1u);
  EXPECT_EQ(host->requests[0].filters[0].description, "PDF (Portable Document Format)");
  EXPECT_EQ(host->requests[0].filters[0].pattern, "*.pdf");
  EXPECT_FALSE(host->requests[0].start_file_opt);

  host->Confirm(out + "Minutes.pdf", 1, /*save_file_opt=*/false, /*start_file_opt=*/true);
  output::SaveMultipagePdf(*host);
  EXPECT_EQ(Stored("StartFile_Opt"), 1);
  EXPECT_EQ(Stored("SaveFile_Opt"), 0);
  output::WaitForWriter();

  EXPECT_EQ(PdfPages(out + "Minutes.pdf"), 3);
  EXPECT_EQ(view->PagesShown().size(), 3u);
  EXPECT_THAT(opened, ElementsAre(out + "/Minutes.pdf"));
  // The run puts the mode back and the page image the command set aside.
  EXPECT_EQ(Stored("KodMultipageFormat"), 0);
  EXPECT_EQ(settings::Snapshot().KodMultipageFormat, 0);
  EXPECT_FALSE(fs::exists(output::PutAsidePath()));
  EXPECT_THAT(messages->Texts(), IsEmpty());
}

TEST_F(SaveCommandsTest, PdfWithImageOptionsTellsGifIsNotSupportedSwitchesAndPutsTheFormatBackAfterTheRun) {
  LoadPages(2, 10, 10);  // small pages: GIF's colour reduction is slow
  settings::Update([](settings::Settings& s) { s.ResCur = 100.0; });
  settings::WriteUserString(settings::kPdfBitmpFormat, "GIF");
  const std::string out = OutDir();
  host->Confirm(out + "g.pdf", 1, /*save_file_opt=*/true, false);

  output::SaveMultipagePdf(*host);
  // While the sheets run the mode is 1 and the output format the inside one.
  EXPECT_EQ(Stored("KodMultipageFormat"), 1);
  EXPECT_THAT(host->calls, ElementsAre("save dialog", "extra sheet 2", "wait on", "refresh", "wait off",
                                       "single sheet"));
  ASSERT_EQ(messages->Requests().size(), 1u);
  EXPECT_EQ(messages->Requests()[0].text, "GIF not supported!");
  EXPECT_EQ(messages->Requests()[0].caption, "Tavrin Pagewick");
  output::WaitForWriter();

  EXPECT_EQ(PdfPages(out + "g.pdf"), 2);
  const std::string work = *platform::WorkFolder();
  EXPECT_TRUE(fs::exists(work + "0001.GIF"));
  EXPECT_TRUE(settings::Snapshot().JPG_Default);
  EXPECT_FALSE(settings::Snapshot().GIF_Default);
  EXPECT_EQ(Stored("JPG_Default"), 1);
  EXPECT_EQ(Stored("GIF_Default"), 0);
}

TEST_F(SaveCommandsTest, GalleryFromTifPreselectsJpgAndTakesTheChosenFormat) {
  LoadPages(2);
  settings::MakeOutputFormat(settings::OutputFormat::Tif);
  settings::Change(&settings::Settings::StartFile_Opt, false);
  const std::string out = OutDir();
  { std::ofstream(out + "G.html") << "old"; }
  host->Confirm(out + "G.html", 3, false, /*start_file_opt=*/true);
  messages->PushAnswer(MessageAnswer::No);  // keep the old gallery, then cancel

  output::SaveHtmlGallery(*host);
  output::WaitForWriter();
  ASSERT_EQ(host->requests.size(), 2u);
  EXPECT_EQ(host->requests[0].filter_index, 1);
  ASSERT_EQ(host->requests[0].filters.size(), 4u);
  EXPECT_EQ(host->requests[0].filters[3].pattern, "*.bmp");
  EXPECT_EQ(messages->Texts(), std::vector<std::string>{out + "G.html already exists. Replace?"});
  EXPECT_EQ(ReadText(out + "G.html"), "old");
  // Format and both boxes were stored with the confirmation.
  EXPECT_EQ(Stored("PNG_Default"), 1);
  EXPECT_EQ(Stored("TIF_Default"), 0);
  EXPECT_EQ(Stored("StartFile_Opt"), 1);

  host->Confirm(out + "G.html", 3, false, true);
  messages->PushAnswer(MessageAnswer::Yes);
  output::SaveHtmlGallery(*host);
  output::WaitForWriter();
  EXPECT_NE(ReadText(out + "G.html"), "old");
  ASSERT_EQ(view->PagesShown().size(), 2u);
  EXPECT_EQ(view->PagesShown()[1].index, 1);
  EXPECT_EQ(view->PagesShown()[1].count, 2);
  EXPECT_THAT(FileNames(out + "G_files"),
              ElementsAre("0001.png", "0001_.png", "0002.png", "0002_.png", "bottoms.html", "header.html"));
  EXPECT_THAT(opened, ElementsAre(out + "/G.html"));
}

TEST_F(SaveCommandsTest, EmailWithoutACurrentPageDoesNothing) {
  output::SendByEmail(*host);
  output::SendCurrentPage(*host);
  output::SaveCurrentPage(*host);
  EXPECT_THAT(host->calls, IsEmpty());
  EXPECT_THAT(FileNames(outbox), IsEmpty());
}

TEST_F(SaveCommandsTest, EmailSeriesStoresANewChoiceAndSendsOneDraftWithThePagesInOrder) {
  LoadPages(3);
  host->mail_answer = MailFormatChoice{3, false};

  output::SendByEmail(*host);
  output::WaitForWriter();

  EXPECT_EQ(host->calls.front(), "mail dialog 1 options");
  EXPECT_EQ(Stored("KodEmailFormat"), 3);
  EXPECT_EQ(Stored("PNG_Default"), 1);
  EXPECT_EQ(Stored("SaveFile_Opt"), 0);
  // The work folder holds the run's files; "SavePath" is not touched.
  EXPECT_FALSE(settings::ReadUserString(settings::kSavePath).has_value());
  EXPECT_THAT(AttachmentNames(Draft()), ElementsAre("Minutes0001.png", "Minutes0002.png", "Minutes0003.png"));
  EXPECT_FALSE(output::Run().send_after_run.load());

  // The same choice again is not written again.
  registry::DeleteValue(registry::Hive::CurrentUser, settings::kUserKey, "KodEmailFormat");
  settings::Update([](settings::Settings& s) { s.KodEmailFormat = 3; });
  output::SendByEmail(*host);
  output::WaitForWriter();
  EXPECT_EQ(Stored("KodEmailFormat"), -1);
}

TEST_F(SaveCommandsTest, EmailAsPdfWritesDocPdfInTheWorkFolderAndKeepsTheInsideFormat) {
  LoadPages(2);
  settings::WriteUserString(settings::kPdfBitmpFormat, "PNG");
  // A backup a cancelled PDF save left behind is not put back by this run.
  output::SetOutputFormatBackup(output::FormatFlags{.tif = true});
  host->mail_answer = MailFormatChoice{6, false};

  output::SendByEmail(*host);
  output::WaitForWriter();

  const std::string work = *platform::WorkFolder();
  EXPECT_EQ(PdfPages(work + "doc.pdf"), 2);
  EXPECT_THAT(AttachmentNames(Draft()), ElementsAre("doc.pdf"));
  EXPECT_THAT(opened, IsEmpty());
  EXPECT_TRUE(settings::Snapshot().PNG_Default);
  EXPECT_FALSE(settings::Snapshot().TIF_Default);
  EXPECT_EQ(settings::Snapshot().KodMultipageFormat, 0);
}

TEST_F(SaveCommandsTest, SendToSendsTheCurrentPageATifPageAsBmp) {
  LoadPages(3, 40, 60, /*current=*/1);
  settings::MakeOutputFormat(settings::OutputFormat::Tif);

  output::SendCurrentPage(*host);

  const std::string path = *platform::WorkFolder() + "Minutes0002.bmp";
  EXPECT_THAT(host->calls, ElementsAre("redraw"));
  EXPECT_EQ(Head(path, 2), "BM");
  EXPECT_EQ(output::Run().written.Get(0), path);
  EXPECT_THAT(AttachmentNames(Draft()), ElementsAre("Minutes0002.bmp"));
}

TEST_F(SaveCommandsTest, SaveToWithThePngFilterWritesPngAndKeepsPngInMemoryOnly) {
  LoadPages(2);
  const std::string out = OutDir();
  host->Confirm(out + "page.jpg", 3);

  output::SaveCurrentPage(*host);

  ASSERT_EQ(host->requests.size(), 1u);
  EXPECT_EQ(host->requests[0].kind, SaveDialogKind::Plain);
  EXPECT_TRUE(host->requests[0].overwrite_prompt);
  EXPECT_EQ(host->requests[0].filter_index, 1);
  // The filter decides the extension; the page was rendered as PNG first.
  EXPECT_EQ(Head(out + "page.png", 4), "\x89PNG");
  EXPECT_THAT(host->calls, ElementsAre("save dialog", "wait on", "refresh", "wait off"));
  EXPECT_TRUE(settings::Snapshot().PNG_Default);
  EXPECT_FALSE(settings::Snapshot().JPG_Default);
  EXPECT_EQ(Stored("JPG_Default"), 1);
  EXPECT_EQ(Stored("PNG_Default"), 0);
  EXPECT_EQ(settings::ReadUserString(settings::kSavePath), out);

  // An existing file is replaced; the same format renders nothing again.
  host->calls.clear();
  host->Confirm(out + "page.png", 3);
  output::SaveCurrentPage(*host);
  EXPECT_THAT(host->calls, ElementsAre("save dialog"));
  EXPECT_EQ(host->requests[1].filter_index, 3);
  EXPECT_THAT(FileNames(out), ElementsAre("page.png"));
}

TEST_F(SaveCommandsTest, AFailedPageWriteIsTold) {
  LoadPages(1);
  host->Confirm("/proc/no-such-folder/page.jpg", 1);
  output::SaveCurrentPage(*host);
  ASSERT_EQ(messages->Requests().size(), 1u);
  EXPECT_THAT(messages->Requests()[0].text, ::testing::StartsWith("The file could not be written:\n"));
  EXPECT_EQ(messages->Requests()[0].icon, platform::MessageIcon::Error);
}

TEST_F(SaveCommandsTest, NoSecondRunStartsWhileOneWrites) {
  LoadPages(3);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> entered;
  hook->on_render = [&](int n) {
    if (n == 1) {
      entered.set_value();
      released.wait();
    }
  };
  const std::string out = OutDir();
  host->Confirm(out + "a.jpg", 1);
  output::SaveImageSeries(*host);
  entered.get_future().wait();

  host->Confirm(out + "b.jpg", 1);
  host->mail_answer = MailFormatChoice{1, false};
  output::SaveImageSeries(*host);
  output::SaveHtmlGallery(*host);
  output::SaveMultipagePdf(*host);
  output::SendByEmail(*host);
  EXPECT_EQ(host->calls, std::vector<std::string>{"save dialog"});

  release.set_value();
  output::WaitForWriter();
  EXPECT_THAT(FileNames(out), ElementsAre("a0001.jpg", "a0002.jpg", "a0003.jpg"));
}

TEST(SaveCommandNames, DocumentNameChosenPathAndResolutionQuestion) {
  EXPECT_EQ(output::DocumentBaseName("Minutes.2007.doc"), "Minutes");
  EXPECT_EQ(output::DocumentBaseName("Plain"), "Plain");
  EXPECT_EQ(output::DocumentBaseName(""), "");

  const auto split = [](std::string_view path) {
    const output::ChosenPath c = output::SplitChosenPath(path);
    return c.folder + "|" + c.title;
  };
  EXPECT_EQ(split("/home/u/Out/Report.v2.jpg"), "/home/u/Out/|Report.v2");
  EXPECT_EQ(split("/home/u/Out/Report"), "/home/u/Out/|Report");
  EXPECT_EQ(split("/home/u/.hidden"), "/home/u/|.hidden");
  EXPECT_EQ(split("/home/u.d/Report"), "/home/u.d/|Report");

  EXPECT_THAT(output::PdfResolutionQuestion(99.9), ::testing::StartsWith("Current resolution 99 dpi"));
  EXPECT_THAT(output::PdfResolutionQuestion(50.0), ::testing::StartsWith("Current resolution 50 dpi"));
}

}  // namespace
}  // namespace pw::test
