#include <gtest/gtest.h>

#include "intake/handshake.h"
#include "platform/paths/paths.h"
#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "tests/intake/intake_fixtures.h"

namespace pw::intake {
namespace {

std::string LocalAppData() { return settings::LocalAppDataFolder().value_or(""); }

void ForgetLocalAppData() {
  ASSERT_TRUE(registry::DeleteValue(registry::Hive::CurrentUser, settings::kShellFoldersKey, "Local AppData"));
}

TEST(Handshake, RegistryValuesWinOverAFileLeftBehind) {
  test::WriteText(LocalAppData() + "/lvPWMacro.ini", "Old.doc\nMicrosoft Word - Old.doc\nTRUE\n");
  ASSERT_TRUE(settings::WriteUserString("CurDocName", "Report.doc"));
  ASSERT_TRUE(settings::WriteUserString("CurWordWinName", "Report.doc - Microsoft Word"));
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "FALSE"));

  ASSERT_TRUE(ReadDocumentName());
  ASSERT_TRUE(ReadWordWindowTitle());
  EXPECT_EQ(DocumentName(), "Report.doc");
  EXPECT_EQ(WordWindowTitle(), "Report.doc - Microsoft Word");
  EXPECT_FALSE(IsClipboardCapture());
}

TEST(Handshake, ClipboardFlagHoldsForOneCaptureOnly) {
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  // A look ahead (before the desktop's clipboard is read) leaves it set.
  EXPECT_TRUE(PeekClipboardCapture());
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "TRUE");
  EXPECT_TRUE(IsClipboardCapture());
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
  EXPECT_FALSE(IsClipboardCapture());
}

TEST(Handshake, ClipboardFlagIsCaseSensitive) {
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "true"));
  EXPECT_FALSE(IsClipboardCapture());
  EXPECT_EQ(settings::ReadUserString("CurWordKodClipbrd"), "FALSE");
}

TEST(Handshake, FileLinesServeWhenTheRegistryHasNoValues) {
  test::WriteText(LocalAppData() + "/lvPWMacro.ini", "Report.doc\r\nMicrosoft Word - Report.doc\r\nTRUE\r\n");
  ASSERT_TRUE(ReadDocumentName());
  ASSERT_TRUE(ReadWordWindowTitle());
  EXPECT_EQ(DocumentName(), "Report.doc");
  EXPECT_EQ(WordWindowTitle(), "Microsoft Word - Report.doc");
  EXPECT_TRUE(IsClipboardCapture());
  // The file's flag is not reset, and nothing is written to the registry.
  EXPECT_TRUE(IsClipboardCapture());
  EXPECT_FALSE(settings::ReadUserString("CurWordKodClipbrd"));
}

TEST(Handshake, ShortFileGivesEmptyValues) {
  test::WriteText(LocalAppData() + "/lvPWMacro.ini", "Only.doc\n");
  ASSERT_TRUE(settings::WriteUserString("CurWordWinName", "kept"));
  ASSERT_TRUE(ReadWordWindowTitle());
  ASSERT_TRUE(registry::DeleteValue(registry::Hive::CurrentUser, settings::kUserKey, "CurWordWinName"));
  ASSERT_TRUE(ReadWordWindowTitle());
  EXPECT_EQ(WordWindowTitle(), "");
  EXPECT_FALSE(IsClipboardCapture());
  ASSERT_TRUE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), "Only.doc");
}

TEST(Handshake, MissingSourcesKeepTheLastValue) {
  ASSERT_TRUE(settings::WriteUserString("CurDocName", "First.doc"));
  ASSERT_TRUE(ReadDocumentName());
  ASSERT_TRUE(registry::DeleteValue(registry::Hive::CurrentUser, settings::kUserKey, "CurDocName"));
  EXPECT_FALSE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), "First.doc");
  EXPECT_FALSE(IsClipboardCapture());
}

TEST(Handshake, FileFallsBackToTheRootOfDriveC) {
  // Present in the root only: the local folder is known but has no file.
  test::WriteText(platform::MachineRootFolder() + "lvPWMacro.ini", "Root.doc\n");
  EXPECT_EQ(CaptureHandshakePath(), platform::MachineRootFolder() + "lvPWMacro.ini");
  ASSERT_TRUE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), "Root.doc");

  test::WriteText(LocalAppData() + "/lvPWMacro.ini", "Local.doc\n");
  ASSERT_TRUE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), "Local.doc");
}

TEST(Handshake, WithoutTheLocalFolderBothFilesAreLookedForInTheRootOfDriveC) {
  const std::string local = LocalAppData();
  EXPECT_EQ(PrinterHandshakePath(), local + "/Pagewick/lvPWPrnMacro.ini");
  test::WriteText(local + "/lvPWMacro.ini", "Local.doc\n");
  ForgetLocalAppData();
  EXPECT_EQ(PrinterHandshakePath(), platform::MachineRootFolder() + "lvPWPrnMacro.ini");
  EXPECT_EQ(CaptureHandshakePath(), platform::MachineRootFolder() + "lvPWMacro.ini");
  EXPECT_FALSE(ReadDocumentName());
}

TEST(Handshake, TooShortLocalFolderIsNotKnown) {
  ASSERT_TRUE(settings::WriteUserStringAt(settings::kShellFoldersKey, "Local AppData", "c:/"));
  EXPECT_EQ(PrinterHandshakePath(), platform::MachineRootFolder() + "lvPWPrnMacro.ini");
}

TEST(Handshake, LongLinesAreCutTo259Characters) {
  const std::string long_name(400, 'n');
  test::WriteText(LocalAppData() + "/lvPWMacro.ini", long_name + "\nTitle\n");
  ASSERT_TRUE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), std::string(259, 'n'));
  ASSERT_TRUE(ReadWordWindowTitle());
  EXPECT_EQ(WordWindowTitle(), "Title");
}

TEST(Handshake, LineEndsAreTakenOffBeforeTheCut) {
  // 259 characters and a CR keep all 259; a line with no end still counts.
  test::WriteText(LocalAppData() + "/lvPWMacro.ini", std::string(259, 'd') + "\r\n" + std::string(20, 'w'));
  ASSERT_TRUE(ReadDocumentName());
  EXPECT_EQ(DocumentName(), std::string(259, 'd'));
  ASSERT_TRUE(ReadWordWindowTitle());
  EXPECT_EQ(WordWindowTitle(), std::string(20, 'w'));
}

}  // namespace
}  // namespace pw::intake
