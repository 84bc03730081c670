// Set to Wallpaper: the picture file, the two registry values and the
// mark, and the desktop's own tool, run as recording stand-ins on PATH.
#include "output/wallpaper.h"
#include "platform/desktop/desktop_wallpaper.h"
#include "platform/msgbox/scripted_message_box.h"
#include "platform/registry/registry.h"
#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pw::output {
namespace {

namespace fs = std::filesystem;
using platform::DesktopKind;
using platform::ProgramCall;
using registry::Hive;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

Magick::Image Picture(const char* colour, int width = 40, int height = 30) {
  Magick::Image image(Magick::Geometry(width, height), Magick::Color(colour));
  image.type(Magick::TrueColorType);
  return image;
}

std::optional<std::string> UserText(std::string_view key, std::string_view name) {
  std::optional<registry::Value> value = registry::QueryValue(Hive::CurrentUser, key, name);
  if (!value) return std::nullopt;
  return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
}

class WallpaperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    saved_desktop_ = desktop ? std::optional<std::string>(desktop) : std::nullopt;
    bin_ = test::TempDir() / "bin";
    log_ = test::TempDir() / "calls.log";
    fs::create_directories(bin_);
    // Only the stand-ins and the shell's own tools are found.
    ::setenv("PATH", (bin_.string() + ":/usr/bin:/bin").c_str(), 1);
    messages_ = std::make_shared<platform::ScriptedMessageBoxHost>();
    platform::SetMessageBoxHost(messages_);
  }
  void TearDown() override {
    ::setenv("PATH", saved_path_.c_str(), 1);
    if (saved_desktop_)
      ::setenv("XDG_CURRENT_DESKTOP", saved_desktop_->c_str(), 1);
    else
      ::unsetenv("XDG_CURRENT_DESKTOP");
    platform::SetMessageBoxHost(nullptr);
  }

  // A program that records its name and arguments, one call per line with
  // the words separated by '|', and prints `output`.
  void StandIn(const std::string& name, const std::string& output = "", int exit_code = 0) {
    const fs::path script = bin_ / name;
    std::ofstream(script) << "#!/bin/sh\n"
                          << "printf '%s' \"$(basename \"$0\")\" >> '" << log_.string() << "'\n"
                          << "for a in \"$@\"; do printf '|%s' \"$a\" >> '" << log_.string() << "'; done\n"
                          << "printf '\\n' >> '" << log_.string() << "'\n"
                          << "printf '" << output << "'\n"
                          << "exit " << exit_code << "\n";
    fs::permissions(script, fs::perms::owner_all);
  }
  std::vector<std::string> Calls() const {
    std::vector<std::string> calls;
    std::istringstream lines(ReadFile(log_));
    for (std::string line; std::getline(lines, line);) calls.push_back(line);
    return calls;
  }

  fs::path bin_;
  fs::path log_;
  std::string saved_path_;
  std::optional<std::string> saved_desktop_;
  std::shared_ptr<platform::ScriptedMessageBoxHost> messages_;
};

TEST_F(WallpaperTest, OnGnomeTheFileIsWrittenStoredAndBothPicturesAreSet) {
  ::setenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME", 1);
  StandIn("gsettings");
  Wallpaper wallpaper;
  EXPECT_EQ(wallpaper.Set(Picture("red")), WallpaperOutcome::Set);

  const std::string path = (test::HomeDir() / "TavrinWallpaper.bmp").string();
  EXPECT_EQ(WallpaperFilePath(), path);
  Magick::Image written(path);
  EXPECT_EQ(written.magick(), "BMP");
  EXPECT_EQ(written.columns(), 40u);
  EXPECT_EQ(written.rows(), 30u);

  EXPECT_EQ(UserText("Control Panel\\Desktop", "Wallpaper"), path);
  const std::string uri = "'file://" + path + "'";
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "gsettings|set|org.gnome.desktop.background|picture-uri|" + uri,
                         "gsettings|set|org.gnome.desktop.background|picture-uri-dark|" + uri}));
  EXPECT_TRUE(messages_->Requests().empty());
}

TEST_F(WallpaperTest, WithoutTheActiveDesktopKeyTheMarkIsSetForTheRestOfTheRun) {
  Wallpaper wallpaper;
  EXPECT_FALSE(wallpaper.noActiveDesktop());
  ASSERT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  EXPECT_TRUE(wallpaper.noActiveDesktop());
  // Values are only written into keys that exist.
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kActiveDesktopKey));

  // The key made later takes the value, but the mark stays.
  ASSERT_TRUE(registry::CreateKey(Hive::CurrentUser, kActiveDesktopKey));
  ASSERT_EQ(wallpaper.Set(Picture("green")), WallpaperOutcome::Set);
  EXPECT_EQ(UserText(kActiveDesktopKey, "BackupWallpaper"), WallpaperFilePath());
  EXPECT_TRUE(wallpaper.noActiveDesktop());
}

TEST_F(WallpaperTest, WithBothKeysBothValuesAreStoredAndNoMarkIsSet) {
  ASSERT_TRUE(registry::CreateKey(Hive::CurrentUser, kActiveDesktopKey));
  Wallpaper wallpaper;
  ASSERT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  EXPECT_EQ(UserText(kDesktopKey, "Wallpaper"), WallpaperFilePath());
  EXPECT_EQ(UserText(kActiveDesktopKey, "BackupWallpaper"), WallpaperFilePath());
  EXPECT_FALSE(wallpaper.noActiveDesktop());
}

TEST_F(WallpaperTest, AFailedFirstStoreSetsNoMarkAndTheDesktopIsStillAsked) {
  ::setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
  StandIn("plasma-apply-wallpaperimage");
  ASSERT_TRUE(registry::DeleteKey(Hive::CurrentUser, kDesktopKey));
  Wallpaper wallpaper;
  ASSERT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  EXPECT_FALSE(wallpaper.noActiveDesktop());
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kDesktopKey));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"plasma-apply-wallpaperimage|" + WallpaperFilePath()}));
}

TEST_F(WallpaperTest, SettingTwiceReplacesTheSameFile) {
  Wallpaper wallpaper;
  ASSERT_EQ(wallpaper.Set(Picture("red", 40, 30)), WallpaperOutcome::Set);
  ASSERT_EQ(wallpaper.Set(Picture("blue", 64, 20)), WallpaperOutcome::Set);
  Magick::Image written(WallpaperFilePath());
  EXPECT_EQ(written.columns(), 64u);
  EXPECT_EQ(written.rows(), 20u);
  int bmps = 0;
  for (const auto& entry : fs::directory_iterator(test::HomeDir())) bmps += entry.path().extension() == ".bmp";
  EXPECT_EQ(bmps, 1);
}

TEST_F(WallpaperTest, XfceSetsEveryImageItsSettingsList) {
  ::setenv("XDG_CURRENT_DESKTOP", "XFCE", 1);
  StandIn("xfconf-query",
          "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\\n"
          "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\\n"
          "/backdrop/screen0/monitoreDP-1/workspace0/last-image\\n");
  Wallpaper wallpaper;
  ASSERT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  const std::string path = WallpaperFilePath();
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "xfconf-query|-c|xfce4-desktop|-l",
                         "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/monitorHDMI-1/workspace0/last-image|-s|" + path,
                         "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/monitoreDP-1/workspace0/last-image|-s|" + path}));
}

TEST_F(WallpaperTest, AnUnknownDesktopOrAMissingToolIsNotAsked) {
  StandIn("gsettings");
  StandIn("plasma-apply-wallpaperimage");
  Wallpaper wallpaper;
  ::setenv("XDG_CURRENT_DESKTOP", "i3", 1);
  EXPECT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  ::unsetenv("XDG_CURRENT_DESKTOP");
  EXPECT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  ::setenv("XDG_CURRENT_DESKTOP", "XFCE", 1);  // no xfconf-query here
  EXPECT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::Set);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(fs::exists(WallpaperFilePath()));
}

TEST_F(WallpaperTest, AFileThatCannotBeWrittenIsToldAndNothingIsPointedAtIt) {
  ::setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
  StandIn("gsettings");
  fs::create_directories(WallpaperFilePath());  // a folder in the file's place
  Wallpaper wallpaper;
  EXPECT_EQ(wallpaper.Set(Picture("blue")), WallpaperOutcome::NotWritten);
  ASSERT_EQ(messages_->Requests().size(), 1u);
  EXPECT_NE(messages_->Texts()[0].find(WallpaperFilePath()), std::string::npos);
  EXPECT_EQ(messages_->Requests()[0].caption, "Tavrin Pagewick Message");
  EXPECT_EQ(UserText(kDesktopKey, "Wallpaper"), "");  // as first start left it
  EXPECT_TRUE(Calls().empty());
}

TEST_F(WallpaperTest, WithoutAPageNothingHappens) {
  StandIn("gsettings");
  ::setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
  Wallpaper wallpaper;
  EXPECT_EQ(wallpaper.Set(Magick::Image()), WallpaperOutcome::NoImage);
  EXPECT_FALSE(fs::exists(WallpaperFilePath()));
  EXPECT_TRUE(Calls().empty());
}

TEST(DesktopWallpaper, TheSessionsFirstKnownDesktopIsChosen) {
  EXPECT_EQ(platform::DesktopFromSessionNames("GNOME"), DesktopKind::Gnome);
  EXPECT_EQ(platform::DesktopFromSessionNames("ubuntu:GNOME"), DesktopKind::Gnome);
  EXPECT_EQ(platform::DesktopFromSessionNames("Budgie:GNOME"), DesktopKind::Gnome);
  EXPECT_EQ(platform::DesktopFromSessionNames("X-Cinnamon"), DesktopKind::Cinnamon);
  EXPECT_EQ(platform::DesktopFromSessionNames("MATE"), DesktopKind::Mate);
  EXPECT_EQ(platform::DesktopFromSessionNames("KDE"), DesktopKind::Plasma);
  EXPECT_EQ(platform::DesktopFromSessionNames("XFCE"), DesktopKind::Xfce);
  EXPECT_EQ(platform::DesktopFromSessionNames("sway:wlroots"), DesktopKind::Unknown);
  EXPECT_EQ(platform::DesktopFromSessionNames(""), DesktopKind::Unknown);
}

TEST(DesktopWallpaper, PathsAreQuotedForGsettingsAndEncodedAsLinks) {
  const std::string path = "/home/o'neil/My \\ Pictures/TavrinWallpaper.bmp";
  EXPECT_EQ(platform::WallpaperCalls(DesktopKind::Mate, path),
            (std::vector<ProgramCall>{{"gsettings",
                                       {"set", "org.mate.background", "picture-filename",
                                        "'/home/o\\'neil/My \\\\ Pictures/TavrinWallpaper.bmp'"}}}));
  EXPECT_EQ(platform::WallpaperCalls(DesktopKind::Cinnamon, "/a b/w.bmp"),
            (std::vector<ProgramCall>{
                {"gsettings", {"set", "org.cinnamon.desktop.background", "picture-uri", "'file:///a%20b/w.bmp'"}}}));
  // Xfce with nothing listed makes the first monitor's setting.
  std::vector<ProgramCall> xfce = platform::WallpaperCalls(DesktopKind::Xfce, "/w.bmp");
  ASSERT_EQ(xfce.size(), 1u);
  EXPECT_EQ(xfce[0].arguments, (std::vector<std::string>{"-c", "xfce4-desktop", "-p",
                                                         "/backdrop/screen0/monitor0/workspace0/last-image", "-n",
                                                         "-t", "string", "-s", "/w.bmp"}));
  EXPECT_TRUE(platform::WallpaperCalls(DesktopKind::Unknown, "/w.bmp").empty());
}

}  // namespace
}  // namespace pw::output
