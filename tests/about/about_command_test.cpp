// The About command: the library loaded by path for one call and freed.
#include "dialogs/about_command.h"
#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "tests/support/test_home.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace pw::dialogs {
namespace {

namespace fs = std::filesystem;

void SetInstallPath(const fs::path& folder) {
  ASSERT_TRUE(registry::SetValue(registry::Hive::LocalMachine, settings::kMachineKey,
                                 {"InstallPath", registry::ValueType::Sz, registry::TextData(folder.string())}));
}

bool Loaded(const std::string& path) {
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  ::dlclose(handle);
  return true;
}

TEST(AboutCommand, ShowsTheBoxUntilAClickAndFreesTheLibrary) {
  SetInstallPath(test::BuildDir() / "share/pagewick");
  const std::string library = AboutLibraryPath();
  EXPECT_EQ(library, (test::BuildDir() / "share/pagewick/libpwAbout.so").string());
  ASSERT_TRUE(fs::exists(library));

  QSize shown_size;
  QStringList texts;
  bool loaded_while_shown = false;
  // Runs inside the box's own event loop: looks at the box, then clicks it.
  std::function<void()> look_and_click = [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) {
      QTimer::singleShot(20, look_and_click);
      return;
    }
    shown_size = box->size();
    for (QLabel* label : box->findChildren<QLabel*>()) texts << label->text();
    loaded_while_shown = Loaded(library);
    const QPointF point(50, 200);
    QMouseEvent press(QEvent::MouseButtonPress, point, box->mapToGlobal(point), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, box->mapToGlobal(point), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
  };
  QTimer::singleShot(0, look_and_click);

  EXPECT_EQ(RunAboutCommand(), AboutOutcome::Shown);
  EXPECT_EQ(shown_size, QSize(425, 257));
  EXPECT_TRUE(texts.contains("Version 2.1                      ")) << texts.join('|').toStdString();
  EXPECT_TRUE(loaded_while_shown);
  EXPECT_FALSE(Loaded(library));
}

TEST(AboutCommand, AMissingLibraryShowsNothing) {
  SetInstallPath(test::HomeDir() / "empty");
  EXPECT_EQ(RunAboutCommand(), AboutOutcome::NoLibrary);
  ASSERT_TRUE(registry::DeleteValue(registry::Hive::LocalMachine, settings::kMachineKey, "InstallPath"));
  EXPECT_EQ(RunAboutCommand(), AboutOutcome::NoLibrary);
  for (QWidget* widget : QApplication::topLevelWidgets()) EXPECT_FALSE(widget->isVisible());
}

TEST(AboutCommand, ALibraryWithoutTheEntryIsFreedAndShowsNothing) {
  const fs::path folder = test::HomeDir() / "install";
  fs::create_directories(folder);
  fs::copy_file(PW_LIBRARY_WITHOUT_ENTRY, folder / "libpwAbout.so");
  SetInstallPath(folder);
  EXPECT_EQ(RunAboutCommand(), AboutOutcome::NoEntry);
  EXPECT_FALSE(Loaded((folder / "libpwAbout.so").string()));
}

}  // namespace
}  // namespace pw::dialogs
