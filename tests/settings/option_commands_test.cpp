// The option commands: what each stores, in which order, and what it asks
// the windows to redraw; the Quick Start Reference question in front of the
// accelerators.
#include "settings/option_commands.h"

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/msgbox/scripted_message_box.h"
#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "tests/settings/recording_option_host.h"

namespace pw::settings {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingOptionHost;

int Command(OptionCommand command) { return static_cast<int>(command); }

// The user key's value names in the order they were first written.
std::vector<std::string> StoredNames() {
  std::vector<std::string> names;
  for (const registry::Value& value : registry::Values(registry::Hive::CurrentUser, kUserKey).value_or(
           std::vector<registry::Value>{}))
    names.push_back(value.name);
  return names;
}

class OptionCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Update([](Settings& s) { s = Settings{}; });
    messages_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(messages_);
  }
  void TearDown() override {
    platform::SetMessageBoxHost(nullptr);
    Update([](Settings& s) { s = Settings{}; });
  }

  std::shared_ptr<platform::ScriptedMessageBoxHost> messages_;
  RecordingOptionHost host_;
};

TEST_F(OptionCommandsTest, ProfessionalPresetStoresItsValuesInOrderAndRedraws) {
  ASSERT_TRUE(RunOptionAccelerator(Command(OptionCommand::PresetProfessional), host_));

  EXPECT_EQ(ReadUserDword("ResCur"), 3000);
  EXPECT_EQ(ReadUserDword("CheckN"), 2);
  EXPECT_EQ(ReadUserDword("KodAntialias"), 7);
  EXPECT_EQ(ReadUserDword("TIF_Default"), 1);
  for (const char* flag : {"JPG_Default", "GIF_Default", "PNG_Default", "BMP_Default"})
    EXPECT_EQ(ReadUserDword(flag), 0) << flag;
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 2);
  EXPECT_THAT(StoredNames(),
              ElementsAre("ResCur", "ScaleCur", "CheckN", "KodAntialias", "lvBkGrHathStyle", "lvSharpen",
                          "TIF_TrueIndexGray", "TIF_Colors", "TIF_Lzw", "GIF_Default", "JPG_Default", "PNG_Default",
                          "BMP_Default", "TIF_Default", "lvKodPreset"));
  // The professional preset keeps the page view where it was.
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "thumbnails", "wait off"));

  const Settings s = Snapshot();
  EXPECT_DOUBLE_EQ(s.ResCur, 300.0);
  EXPECT_TRUE(s.TIF_Default);
  EXPECT_FALSE(s.JPG_Default);
  EXPECT_EQ(s.lvKodPreset, 2);
  EXPECT_TRUE(messages_->Requests().empty());
}

TEST_F(OptionCommandsTest, DemoPresetSetsTheHatchBeforeSharpeningAndScrollsTheView) {
  Change(&Settings::lvSharpen, true);
  Change(&Settings::lvHatchAngle, 45);
  registry::DeleteKey(registry::Hive::CurrentUser, kUserKey);

  ApplyPreset(Preset::DemoDefault, host_);

  EXPECT_THAT(StoredNames(),
              ElementsAre("ResCur", "ScaleCur", "CheckN", "KodAntialias", "lvBkGrHathStyle", "lvHatchColor",
                          "lvCurBkGrColor", "lvHatchWidth", "lvHatchDepress", "lvHatchAngle", "lvHatchLnHor",
                          "lvHatchLnVert", "lvSharpen", "GIF_Colors", "GIF_IndexGray", "GIF_Dither", "GIF_Interlace",
                          "GIF_Delay", "GIF_Default", "JPG_Default", "PNG_Default", "BMP_Default", "TIF_Default",
                          "lvKodPreset"));
  EXPECT_EQ(ReadUserDword("ResCur"), 800);
  EXPECT_EQ(ReadUserDword("lvBkGrHathStyle"), 4);
  EXPECT_EQ(ReadUserDword("lvCurBkGrColor"), 13954047);
  EXPECT_EQ(ReadUserDword("lvHatchColor"), 15137535);
  EXPECT_EQ(ReadUserDword("lvHatchAngle"), 0);
  EXPECT_EQ(ReadUserDword("lvSharpen"), 0);
  EXPECT_EQ(ReadUserDword("GIF_Delay"), 0);
  EXPECT_EQ(ReadUserDword("GIF_Default"), 1);
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 4);
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "scroll", "thumbnails", "wait off"));
}

TEST_F(OptionCommandsTest, PresetsLeaveOtherFormatsAndTheHatchAsTheyWere) {
  Change(&Settings::PNG_Colors, 17);
  Change(&Settings::JPG_Quality, 33);
  Change(&Settings::lvHatchWidth, 9);
  ApplyPreset(Preset::TextGraphics, host_);
  Settings s = Snapshot();
  EXPECT_EQ(s.PNG_Colors, 17);
  EXPECT_EQ(s.JPG_Quality, 33);
  EXPECT_EQ(s.lvHatchWidth, 9);
  EXPECT_EQ(s.GIF_Colors, 256);
  EXPECT_EQ(s.lvBkGrHathStyle, 100);

  ApplyPreset(Preset::WordArtPhoto, host_);
  s = Snapshot();
  EXPECT_EQ(s.JPG_Quality, 90);
  EXPECT_DOUBLE_EQ(s.ResCur, 200.0);
  EXPECT_TRUE(s.JPG_Default);
  EXPECT_FALSE(s.GIF_Default);
}

TEST_F(OptionCommandsTest, WithNoPageAPresetStoresEverythingAndScrollsNothing) {
  host_.has_page = false;
  ApplyPreset(Preset::TextGraphics, host_);
  EXPECT_EQ(ReadUserDword("ResCur"), 1200);
  EXPECT_EQ(ReadUserDword("GIF_Colors"), 256);
  EXPECT_EQ(ReadUserDword("GIF_Default"), 1);
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 1);
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "thumbnails", "wait off"));
}

TEST_F(OptionCommandsTest, AntialiasingAfterAPresetKeepsTheFormatButForgetsThePreset) {
  RunOptionAccelerator(Command(OptionCommand::PresetTextGraphics), host_);
  host_.calls.clear();
  registry::DeleteKey(registry::Hive::CurrentUser, kUserKey);

  ASSERT_TRUE(RunOptionAccelerator(Command(OptionCommand::Antialias5), host_));

  const Settings s = Snapshot();
  EXPECT_EQ(s.KodAntialias, 5);
  EXPECT_TRUE(s.GIF_Default);
  EXPECT_EQ(s.lvKodPreset, 0);
  EXPECT_THAT(StoredNames(), ElementsAre("KodAntialias", "lvKodPreset"));
  EXPECT_EQ(ReadUserDword("KodAntialias"), 5);
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 0);
  // Thumbnails stay as they are.
  EXPECT_THAT(host_.calls, ElementsAre("refresh"));
}

TEST_F(OptionCommandsTest, DateStampKeepsThePresetAndSharpeningDoesNot) {
  ApplyPreset(Preset::WordArtPhoto, host_);
  host_.calls.clear();

  ASSERT_TRUE(RunOptionCommand(Command(OptionCommand::DateTimeStamp), host_));
  EXPECT_EQ(ReadUserDword("lvIncludeDateTime"), 1);
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 3);
  EXPECT_EQ(Snapshot().lvKodPreset, 3);
  RunOptionCommand(Command(OptionCommand::DateTimeStamp), host_);
  EXPECT_EQ(ReadUserDword("lvIncludeDateTime"), 0);
  EXPECT_FALSE(Snapshot().lvIncludeDateTime);

  registry::DeleteKey(registry::Hive::CurrentUser, kUserKey);
  RunOptionCommand(Command(OptionCommand::Sharpen), host_);
  EXPECT_THAT(StoredNames(), ElementsAre("lvKodPreset", "lvSharpen"));
  EXPECT_EQ(ReadUserDword("lvSharpen"), 1);
  EXPECT_EQ(Snapshot().lvKodPreset, 0);
  EXPECT_THAT(host_.calls, ElementsAre("refresh", "refresh", "refresh"));
}

TEST_F(OptionCommandsTest, ResolutionDialogCommitsOnOkOnly) {
  ApplyPreset(Preset::Professional, host_);
  host_.calls.clear();

  RunOptionAccelerator(Command(OptionCommand::Resolution), host_);
  EXPECT_THAT(host_.calls, ElementsAre("resolution dialog"));
  EXPECT_EQ(Snapshot().lvKodPreset, 2);
  EXPECT_EQ(ReadUserDword("ResCur"), 3000);

  host_.calls.clear();
  registry::DeleteKey(registry::Hive::CurrentUser, kUserKey);
  host_.resolution = ResolutionResult{0, 123.456, 75};
  EditResolution(host_);
  EXPECT_THAT(StoredNames(), ElementsAre("lvKodPreset", "ResCur", "ScaleCur", "CheckN"));
  EXPECT_EQ(ReadUserDword("ResCur"), 1234);  // tenths, cut toward zero
  EXPECT_EQ(ReadUserDword("ScaleCur"), 75);
  EXPECT_EQ(ReadUserDword("CheckN"), 0);
  const Settings s = Snapshot();
  EXPECT_DOUBLE_EQ(s.ResCur, 123.456);
  EXPECT_EQ(s.lvKodPreset, 0);
  EXPECT_THAT(host_.calls, ElementsAre("resolution dialog", "wait on", "refresh", "scroll", "wait off"));
}

TEST_F(OptionCommandsTest, FormatSheetStartsFromTheSettingsAndCommitsInOrder) {
  Change(&Settings::GIF_Delay, 250);
  ASSERT_TRUE(WriteUserString("PDF_Bitmp_Format", "PN"));
  MakeOutputFormat(OutputFormat::Png);
  Change(&Settings::lvKodPreset, 1);

  // Cancel: nothing changes.
  RunOptionCommand(Command(OptionCommand::ImageFormat), host_);
  ASSERT_TRUE(host_.sheet_opened_with);
  EXPECT_EQ(host_.sheet_opened_with->GIF_Delay, 250);
  EXPECT_TRUE(host_.sheet_opened_with->PNG_Default);
  EXPECT_FALSE(host_.sheet_opened_with->JPG_Default);
  EXPECT_EQ(host_.sheet_opened_with->PDF_Bitmp_Format, "BMP");  // shorter than 3 characters
  EXPECT_EQ(Snapshot().lvKodPreset, 1);
  EXPECT_EQ(ReadUserString("PDF_Bitmp_Format"), "PN");

  registry::DeleteKey(registry::Hive::CurrentUser, kUserKey);
  host_.calls.clear();
  host_.edit_sheet = [](ImageFormatValues& v) {
    v.JPG_Quality = 40;
    v.TIF_Lzw = false;
    v.PDF_Bitmp_Format = "JPG";
    SetWorkingOutputFormat(v, OutputFormat::Tif);
  };
  EditImageFormat(host_);
  EXPECT_THAT(StoredNames(),
              ElementsAre("lvKodPreset", "JPG_Gray", "JPG_Progress", "JPG_Quality", "GIF_Colors", "GIF_IndexGray",
                          "GIF_Delay", "GIF_Dither", "GIF_Interlace", "PNG_TrueIndexGray", "PNG_Colors",
                          "PNG_Interlace", "PNG_Dither", "TIF_TrueIndexGray", "TIF_Colors", "TIF_Lzw", "TIF_Default",
                          "BMP_Default", "PNG_Default", "GIF_Default", "JPG_Default", "PDF_Bitmp_Format"));
  EXPECT_EQ(ReadUserDword("JPG_Quality"), 40);
  EXPECT_EQ(ReadUserDword("TIF_Lzw"), 0);
  EXPECT_EQ(ReadUserDword("GIF_Delay"), 250);
  EXPECT_EQ(ReadUserDword("TIF_Default"), 1);
  EXPECT_EQ(ReadUserDword("PNG_Default"), 0);
  EXPECT_EQ(ReadUserString("PDF_Bitmp_Format"), "JPG");
  const Settings s = Snapshot();
  EXPECT_EQ(s.JPG_Quality, 40);
  EXPECT_TRUE(s.TIF_Default);
  EXPECT_FALSE(s.PNG_Default);
  EXPECT_EQ(s.lvKodPreset, 0);
  EXPECT_THAT(host_.calls, ElementsAre("format sheet", "wait on", "refresh", "wait off"));
}

TEST_F(OptionCommandsTest, SingleFormatCommitTouchesOneFormatOnly) {
  ImageFormatValues v = ImageFormatValuesFrom(Snapshot());
  v.GIF_Colors = 12;
  v.PNG_Colors = 13;
  SetWorkingOutputFormat(v, OutputFormat::Bmp);
  CommitImageFormatValues(v, FormatCommit::Gif);
  EXPECT_THAT(StoredNames(), ElementsAre("GIF_Colors", "GIF_IndexGray", "GIF_Delay", "GIF_Dither", "GIF_Interlace"));
  const Settings s = Snapshot();
  EXPECT_EQ(s.GIF_Colors, 12);
  EXPECT_EQ(s.PNG_Colors, 64);
  EXPECT_TRUE(s.JPG_Default);
  EXPECT_FALSE(s.BMP_Default);
}

TEST_F(OptionCommandsTest, DamagedFlagsAreCommittedOneHot) {
  ImageFormatValues v = ImageFormatValuesFrom(Snapshot());
  v.JPG_Default = v.PNG_Default = v.BMP_Default = true;
  EXPECT_EQ(WorkingOutputFormat(v), OutputFormat::Bmp);
  CommitImageFormatValues(v, FormatCommit::All);
  const Settings s = Snapshot();
  EXPECT_TRUE(s.BMP_Default);
  EXPECT_FALSE(s.JPG_Default || s.PNG_Default || s.GIF_Default || s.TIF_Default);

  // With no flag at all the output format is left as it was.
  v.JPG_Default = v.PNG_Default = v.BMP_Default = false;
  EXPECT_FALSE(WorkingOutputFormat(v));
  CommitImageFormatValues(v, FormatCommit::All);
  EXPECT_TRUE(Snapshot().BMP_Default);
  EXPECT_EQ(ReadUserDword("BMP_Default"), 1);
}

TEST_F(OptionCommandsTest, SelectingTheCurrentOutputFormatRendersNothing) {
  EXPECT_TRUE(SelectOutputFormat(OutputFormat::Jpg, host_));
  EXPECT_THAT(host_.calls, IsEmpty());
  EXPECT_THAT(StoredNames(), IsEmpty());

  EXPECT_TRUE(SelectOutputFormat(OutputFormat::Png, host_));
  EXPECT_THAT(StoredNames(), ElementsAre("JPG_Default", "GIF_Default", "PNG_Default", "BMP_Default", "TIF_Default"));
  EXPECT_EQ(ReadUserDword("PNG_Default"), 1);
  EXPECT_EQ(ReadUserDword("JPG_Default"), 0);
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "wait off"));
  // A damaged record with two flags on is made one-hot.
  Update([](Settings& s) { s.TIF_Default = true; });
  host_.calls.clear();
  SelectOutputFormat(OutputFormat::Png, host_);
  EXPECT_FALSE(Snapshot().TIF_Default);
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "wait off"));
  EXPECT_FALSE(SelectOutputFormat(OutputFormat::MultipagePdf, host_));
}

TEST_F(OptionCommandsTest, HatchDialogRedrawsAndForgetsThePresetOnOkOnly) {
  ApplyPreset(Preset::TextGraphics, host_);
  host_.calls.clear();
  RunOptionAccelerator(Command(OptionCommand::HatchFromAccelerator), host_);
  EXPECT_THAT(host_.calls, ElementsAre("hatch dialog"));
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 1);

  host_.calls.clear();
  host_.hatch_ok = true;
  RunOptionCommand(Command(OptionCommand::HatchFromMenu), host_);
  EXPECT_THAT(host_.calls, ElementsAre("hatch dialog", "wait on", "refresh", "wait off", "thumbnails"));
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 0);
}

TEST_F(OptionCommandsTest, OtherCommandsAreNotOptionCommands) {
  for (const int command : {0, 32865, 32831, 32857 + 1, 191}) {
    EXPECT_FALSE(RunOptionCommand(command, host_)) << command;
    EXPECT_FALSE(RunOptionAccelerator(command, host_)) << command;
  }
  // Sharpening and the stamp have no keys; the frame does not route them.
  EXPECT_FALSE(RunOptionAccelerator(Command(OptionCommand::Sharpen), host_));
  EXPECT_THAT(host_.calls, IsEmpty());
  EXPECT_THAT(StoredNames(), IsEmpty());
}

class QuickStartTest : public OptionCommandsTest {
 protected:
  void SetUp() override {
    OptionCommandsTest::SetUp();
    Update([](Settings& s) { s.QuickStartReference = true; });
  }
};

TEST_F(QuickStartTest, NoDropsTheCommand) {
  messages_->PushAnswer(platform::MessageAnswer::No);
  EXPECT_TRUE(RunOptionAccelerator(Command(OptionCommand::Antialias2), host_));

  ASSERT_EQ(messages_->Requests().size(), 1u);
  const platform::MessageRequest asked = messages_->Requests()[0];
  EXPECT_EQ(asked.text, "Demo-mode settings will be discarded. Proceed?");
  EXPECT_EQ(asked.caption, "Tavrin Pagewick Message");
  EXPECT_EQ(asked.buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(asked.icon, platform::MessageIcon::Question);
  EXPECT_EQ(asked.owner, platform::MessageOwner::MainWindow);

  const Settings s = Snapshot();
  EXPECT_TRUE(s.QuickStartReference);
  EXPECT_EQ(s.KodAntialias, 3);
  EXPECT_THAT(StoredNames(), IsEmpty());
  EXPECT_THAT(host_.calls, IsEmpty());
}

TEST_F(QuickStartTest, YesEndsTheModeRunsTheCommandAndRedrawsTheThumbnails) {
  messages_->PushAnswer(platform::MessageAnswer::Yes);
  RunOptionAccelerator(Command(OptionCommand::Antialias2), host_);
  const Settings s = Snapshot();
  EXPECT_FALSE(s.QuickStartReference);
  EXPECT_EQ(s.KodAntialias, 2);
  EXPECT_EQ(ReadUserDword("KodAntialias"), 2);
  EXPECT_THAT(host_.calls, ElementsAre("refresh", "thumbnails"));

  // Out of the mode, nothing is asked any more.
  RunOptionAccelerator(Command(OptionCommand::Antialias3), host_);
  EXPECT_EQ(messages_->Requests().size(), 1u);
}

TEST_F(QuickStartTest, APresetAfterYesDrawsTheThumbnailsOnce) {
  messages_->PushAnswer(platform::MessageAnswer::Yes);
  RunOptionAccelerator(Command(OptionCommand::PresetTextGraphics), host_);
  EXPECT_THAT(host_.calls, ElementsAre("wait on", "refresh", "scroll", "thumbnails", "wait off"));
  EXPECT_EQ(ReadUserDword("lvKodPreset"), 1);
}

TEST_F(QuickStartTest, DemoPresetDoesNothingAndAsksNothing) {
  EXPECT_TRUE(RunOptionAccelerator(Command(OptionCommand::PresetDemoDefault), host_));
  // From the options pop-up too, where the panel has asked already.
  EXPECT_TRUE(RunOptionCommand(Command(OptionCommand::PresetDemoDefault), host_));
  EXPECT_TRUE(messages_->Requests().empty());
  EXPECT_THAT(host_.calls, IsEmpty());
  EXPECT_THAT(StoredNames(), IsEmpty());
  EXPECT_TRUE(Snapshot().QuickStartReference);
  EXPECT_EQ(Snapshot().lvKodPreset, 0);
}

TEST_F(QuickStartTest, PopUpCommandsRunWithoutAsking) {
  RunOptionCommand(Command(OptionCommand::Antialias7), host_);
  EXPECT_TRUE(messages_->Requests().empty());
  EXPECT_EQ(ReadUserDword("KodAntialias"), 7);
  EXPECT_TRUE(Snapshot().QuickStartReference);
}

}  // namespace
}  // namespace pw::settings
