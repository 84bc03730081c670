// The program's own help component, loaded as the help engine loads it.
#include "dialogs/help.h"
#include "platform/help/html_help.h"
#include "platform/library/shared_library.h"
#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "tests/support/test_home.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <gtest/gtest.h>

namespace pw::platform {
namespace {

std::string HelpFilePath() { return (test::BuildDir() / "share/pagewick/Snaplet.chm").string(); }

QWidget* VisibleWindowTitled(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowTitle() == title) return widget;
  return nullptr;
}

TEST(HelpComponent, ShowsTheRequestedTopicInOneReusedWindow) {
  auto library = SharedLibrary::Open(PW_HELP_COMPONENT);
  ASSERT_TRUE(library) << library.error();
  auto entry = library->Find<HtmlHelpFunction>(kHtmlHelpEntryName);
  ASSERT_TRUE(entry);

  const std::string dim = HelpFilePath() + "::/dim.htm";
  const std::uintptr_t first = entry(0, dim.c_str(), static_cast<unsigned>(HelpCommand::DisplayTopic), 0);
  EXPECT_NE(first, 0u);
  QWidget* window = VisibleWindowTitled("Pagewick Help");
  ASSERT_TRUE(window);
  EXPECT_EQ(static_cast<std::uintptr_t>(window->winId()), first);

  const std::uintptr_t second = entry(0, HelpFilePath().c_str(), 0, 0);
  EXPECT_EQ(second, first);
  // A command it does not know shows nothing.
  EXPECT_EQ(entry(0, dim.c_str(), 0x12, 0), 0u);
  library->KeepForRun();
}

TEST(HelpComponent, AHelpFileThatCannotBeOpenedIsReportedAndShowsNoWindow) {
  auto library = SharedLibrary::Open(PW_HELP_COMPONENT);
  ASSERT_TRUE(library);
  auto entry = library->Find<HtmlHelpFunction>(kHtmlHelpEntryName);
  const std::string missing = (test::HomeDir() / "Snaplet.chm").string() + "::/dim.htm";
  EXPECT_EQ(entry(0, missing.c_str(), 0, 0), 0u);
  QMessageBox* box = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<QMessageBox*>(widget); found && found->isVisible()) box = found;
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->text().contains((test::HomeDir() / "Snaplet.chm").c_str()));
  box->close();
  library->KeepForRun();
}

// The whole road of a Help button: the topic path from the install
// folder, the engine bound through the first start's registration, the
// program's own component.
TEST(HelpComponent, TheProgramsHelpReachesTheComponentRegisteredAtFirstStart) {
  ASSERT_TRUE(registry::SetValue(registry::Hive::LocalMachine, settings::kMachineKey,
                                 {"InstallPath", registry::ValueType::Sz,
                                  registry::TextData((test::BuildDir() / "share/pagewick").string())}));
  HelpEngineBinding binding;
  const std::uintptr_t window =
      binding.Show(dialogs::HelpPath(dialogs::kResolutionHelpTopic), HelpCommand::DisplayTopic, 0);
  EXPECT_NE(window, 0u);
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Bound);
  EXPECT_EQ(binding.boundFrom(), PW_HELP_COMPONENT);
}

}  // namespace
}  // namespace pw::platform
