// Files at and past the bounds that apply while something is loaded: the
// pages of a capture, a page file's or clipboard metafile's bytes, a .reg
// file's bytes and the depth of a registry key. Each refusal must carry the bound's message to
// where the user reads it (a message box, the tool's error output).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "intake/capture_load.h"
#include "pages/page_set.h"
#include "intake/spool_reader.h"
#include "platform/clipboard/clipboard_store.h"
#include "platform/limits/limits.h"
#include "platform/msgbox/scripted_message_box.h"
#include "platform/paths/paths.h"
#include "platform/registry/key_path.h"
#include "platform/registry/reg_file.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/load/load_fixtures.h"
#include "tests/support/test_home.h"

namespace pw::limits {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::span<const std::byte> bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A file of `size` bytes that takes no disk space.
void WriteSparseFile(const fs::path& path, std::uintmax_t size) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc).put('\0');
  fs::resize_file(path, size);
}

class CaptureLoadLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ResetPageSet();
    host_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(host_);
    settings::Update([](settings::Settings& s) { s.QuickStartReference = false; });
    work_ = platform::WorkFolder().value();
  }
  void TearDown() override { test::ResetPageSet(); }

  // Without a printer handshake the load takes the work folder as it is.
  void Load() { intake::LoadCapture(intake::CaptureLoadOptions{&view_, nullptr, {}, {}}); }

  test::RecordingView view_;
  std::shared_ptr<platform::ScriptedMessageBoxHost> host_;
  std::string work_;
};

TEST_F(CaptureLoadLimits, PageFilePastTheByteBoundIsNamedBeforeTheReleaseError) {
  WriteFile(work_ + "10001.emf", test::PlainPageEmf(50, 50));
  WriteSparseFile(work_ + "10002.emf", static_cast<std::uintmax_t>(kMetafileBytes.value) + 1);

  Load();

  EXPECT_EQ(host_->Texts(), (std::vector<std::string>{std::string(kMetafileBytes.message),
                                                     "ERROR 0000875\nTavrin Pagewick Message"}));
  ASSERT_EQ(pages::Pages().Count(), 2);
  EXPECT_FALSE(pages::Pages().Record(0).metafile.IsNull());
  EXPECT_TRUE(pages::Pages().Record(1).metafile.IsNull());
  EXPECT_FALSE(fs::exists(work_ + "10002.emf"));  // consumed like any other page file
}

TEST_F(CaptureLoadLimits, ClipboardPastTheByteBoundIsNamedAndConsumed) {
  ASSERT_TRUE(settings::WriteUserString("CurWordKodClipbrd", "TRUE"));
  WriteSparseFile(clipboard::ClipboardStorePath(), static_cast<std::uintmax_t>(kMetafileBytes.value) + 1);

  Load();

  EXPECT_EQ(host_->Texts(), std::vector<std::string>{std::string(kMetafileBytes.message)});
  EXPECT_EQ(pages::Pages().Count(), 0);
  EXPECT_FALSE(fs::exists(clipboard::ClipboardStorePath()));
  EXPECT_FALSE(fs::exists(work_ + "0001.emf"));
}

TEST_F(CaptureLoadLimits, PagesPastTheCaptureBoundAreCountedInOneMessage) {
  const auto tiny = test::PlainPageEmf(5, 5);
  for (int page = 1; page <= kCapturePages.value + 2; ++page) WriteFile(work_ + intake::PageFileName(1, page), tiny);

  Load();

  EXPECT_EQ(pages::Pages().Count(), kCapturePages.value);
  const std::vector<std::string> texts = host_->Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Pagewick holds at most 2000 pages. 2 further pages were not loaded.");
  EXPECT_TRUE(texts[0].starts_with(kCapturePages.message));
}

TEST_F(CaptureLoadLimits, ExactlyTheCaptureBoundLoadsWithoutAMessage) {
  const auto tiny = test::PlainPageEmf(5, 5);
  for (int page = 1; page <= kCapturePages.value; ++page) WriteFile(work_ + intake::PageFileName(1, page), tiny);

  Load();

  EXPECT_EQ(pages::Pages().Count(), kCapturePages.value);
  EXPECT_TRUE(host_->Texts().empty());
}

// --- registry ---------------------------------------------------------------

// "HKCU\k\k..." with `levels` levels below the hive.
std::string KeyOfDepth(int levels) {
  std::string key = "HKEY_CURRENT_USER";
  for (int i = 0; i < levels; ++i) key += "\\k";
  return key;
}

std::string RegText(const std::string& key) {
  return "Windows Registry Editor Version 5.00\n\n[" + key + "]\n\"Value\"=dword:00000001\n";
}

TEST(RegistryLimits, KeysUpToTheDepthBoundParseAndDeeperOnesGiveItsMessage) {
  const auto at = registry::ParseRegFile(RegText(KeyOfDepth(static_cast<int>(kKeyDepth.value))));
  ASSERT_TRUE(at.has_value()) << at.error().message;
  EXPECT_EQ(at->size(), 2u);

  const auto past = registry::ParseRegFile(RegText(KeyOfDepth(static_cast<int>(kKeyDepth.value) + 1)));
  ASSERT_FALSE(past.has_value());
  EXPECT_EQ(past.error().line, 3u);
  EXPECT_EQ(past.error().message, kKeyDepth.message);

  // Other faults of a key keep their own wording.
  const auto unknown = registry::ReadFullKey("HKEY_NOWHERE\\k");
  ASSERT_FALSE(unknown.has_value());
  EXPECT_NE(unknown.error(), kKeyDepth.message);
  EXPECT_NE(unknown.error().find("HKEY_NOWHERE"), std::string::npos);
}

struct ToolResult {
  int exit = -1;
  std::string err;
};

ToolResult RunRegTool(const std::vector<std::string>& args) {
  auto quote = [](const std::string& arg) {
    std::string out = "'";
    for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
  };
  std::string command = quote((test::BuildDir() / "bin" / "pagewick-reg").string());
  for (const std::string& arg : args) command += " " + quote(arg);
  const fs::path err = test::TempDir() / "tool.err";
  command += " >/dev/null 2>" + quote(err.string()) + " </dev/null";
  const int status = std::system(command.c_str());
  ToolResult result;
  if (WIFEXITED(status)) result.exit = WEXITSTATUS(status);
  std::ifstream in(err);
  result.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return result;
}

class RegToolLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(test::BuildDir() / "bin" / "pagewick-reg")) GTEST_SKIP() << "pagewick-reg is not built";
  }
};

TEST_F(RegToolLimits, ImportPastTheByteBoundIsRefusedWithItsMessage) {
  const fs::path huge = test::TempDir() / "huge.reg";
  WriteSparseFile(huge, static_cast<std::uintmax_t>(kRegFileBytes.value) + 1);
  const ToolResult past = RunRegTool({"import", huge.string()});
  EXPECT_EQ(past.exit, 2);
  EXPECT_NE(past.err.find(kRegFileBytes.message), std::string::npos) << past.err;

  // Exactly at the bound the file is read; it then fails for its content.
  const fs::path at = test::TempDir() / "at.reg";
  WriteSparseFile(at, static_cast<std::uintmax_t>(kRegFileBytes.value));
  const ToolResult read = RunRegTool({"import", at.string()});
  EXPECT_EQ(read.exit, 2);
  EXPECT_EQ(read.err.find(kRegFileBytes.message), std::string::npos) << read.err;
  EXPECT_NE(read.err.find("does not start with"), std::string::npos) << read.err;
}

TEST_F(RegToolLimits, KeyArgumentPastTheDepthBoundGivesItsMessage) {
  const ToolResult past =
      RunRegTool({"set", KeyOfDepth(static_cast<int>(kKeyDepth.value) + 1), "V", "dword", "1"});
  EXPECT_EQ(past.exit, 2);
  EXPECT_NE(past.err.find(kKeyDepth.message), std::string::npos) << past.err;
  // The refused key is not echoed back: it may be very long.
  EXPECT_LT(past.err.size(), 200u) << past.err;

  const ToolResult at = RunRegTool({"set", KeyOfDepth(static_cast<int>(kKeyDepth.value)), "V", "dword", "1"});
  EXPECT_EQ(at.exit, 0) << at.err;
}

}  // namespace
}  // namespace pw::limits
