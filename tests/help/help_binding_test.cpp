#include "dialogs/help.h"
#include "platform/help/html_help.h"
#include "platform/library/shared_library.h"
#include "platform/paths/paths.h"
#include "platform/registry/registry.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pw::platform {
namespace {

using registry::Hive;

// The recording component's own view of the requests it got. The library
// stays loaded once a binding holds it, so each test compares counts.
struct FakeComponent {
  FakeComponent() : library(*SharedLibrary::Open(PW_FAKE_HELP_COMPONENT)) {}
  int calls() const { return library.Find<int (*)()>("FakeHelpCalls")(); }
  std::string lastFile() const { return library.Find<const char* (*)()>("FakeHelpLastFile")(); }
  unsigned lastCommand() const { return library.Find<unsigned (*)()>("FakeHelpLastCommand")(); }
  std::uintptr_t lastOwner() const { return library.Find<std::uintptr_t (*)()>("FakeHelpLastOwner")(); }
  SharedLibrary library;
};

void RegisterComponent(const std::string& path) {
  ASSERT_TRUE(registry::SetValue(Hive::ClassesRoot, kHtmlHelpServerKey,
                                 {"", registry::ValueType::Sz, registry::TextData(path)}));
}

TEST(HelpBinding, FirstStartRegistersTheProgramsOwnComponent) {
  std::optional<registry::Value> value = registry::QueryValue(Hive::ClassesRoot, kHtmlHelpServerKey, "");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, registry::ValueType::Sz);
  EXPECT_EQ(value->data, registry::TextData(ProgramLibraryFolder() + "libpwHtmlHelp.so"));
}

TEST(HelpBinding, BindsThePathOfTheClassKeyAndStaysBound) {
  FakeComponent fake;
  RegisterComponent(PW_FAKE_HELP_COMPONENT);
  HelpEngineBinding binding("no-such-help-component.so");
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Unbound);
  const int before = fake.calls();

  EXPECT_EQ(binding.Show("/opt/pw/Snaplet.chm::/dim.htm", HelpCommand::DisplayTopic, 0), 0x4E1Fu);
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Bound);
  EXPECT_EQ(binding.boundFrom(), PW_FAKE_HELP_COMPONENT);
  EXPECT_EQ(fake.calls(), before + 1);
  EXPECT_EQ(fake.lastFile(), "/opt/pw/Snaplet.chm::/dim.htm");
  EXPECT_EQ(fake.lastCommand(), 0u);
  EXPECT_EQ(fake.lastOwner(), 0u);

  // Once bound, the key is not read again.
  RegisterComponent("/nowhere/libpwHtmlHelp.so");
  EXPECT_EQ(binding.Show("/opt/pw/Snaplet.chm", HelpCommand::DisplayTopic, 0), 0x4E1Fu);
  EXPECT_EQ(fake.calls(), before + 2);
  EXPECT_EQ(fake.lastFile(), "/opt/pw/Snaplet.chm");
}

TEST(HelpBinding, WithoutTheKeyTheComponentIsLoadedByName) {
  FakeComponent fake;
  const int before = fake.calls();
  ASSERT_TRUE(registry::DeleteKey(Hive::ClassesRoot, kHtmlHelpServerKey));
  // A bare name: the loader finds it in the program's library folder.
  const std::string name = std::filesystem::path(PW_FAKE_HELP_COMPONENT).filename();
  HelpEngineBinding binding(name);
  EXPECT_EQ(binding.Show("a.chm", HelpCommand::DisplayTopic, 0), 0x4E1Fu);
  EXPECT_EQ(binding.boundFrom(), name);
  EXPECT_EQ(fake.calls(), before + 1);
}

TEST(HelpBinding, AKeyThatHoldsNoTextCountsAsMissing) {
  FakeComponent fake;
  const int before = fake.calls();
  ASSERT_TRUE(registry::SetValue(Hive::ClassesRoot, kHtmlHelpServerKey, {"", registry::ValueType::Dword, registry::DwordData(7)}));
  HelpEngineBinding binding(PW_FAKE_HELP_COMPONENT);
  EXPECT_EQ(binding.Show("a.chm", HelpCommand::DisplayTopic, 0), 0x4E1Fu);
  EXPECT_EQ(fake.calls(), before + 1);
}

TEST(HelpBinding, AFailureIsRememberedForTheRun) {
  FakeComponent fake;
  const int before = fake.calls();
  // The key names a file that is not there: no fallback to the name.
  RegisterComponent((std::filesystem::path(PW_FAKE_HELP_COMPONENT).parent_path() / "gone.so").string());
  HelpEngineBinding binding(PW_FAKE_HELP_COMPONENT);
  EXPECT_EQ(binding.Show("a.chm::/dim.htm", HelpCommand::DisplayTopic, 0), 0u);
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Failed);

  // Mending the key later changes nothing for this run.
  RegisterComponent(PW_FAKE_HELP_COMPONENT);
  EXPECT_EQ(binding.Show("a.chm::/dim.htm", HelpCommand::DisplayTopic, 0), 0u);
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Failed);
  EXPECT_EQ(fake.calls(), before);
}

TEST(HelpBinding, AComponentWithoutTheEntryFails) {
  RegisterComponent(PW_COMPONENT_WITHOUT_ENTRY);
  HelpEngineBinding binding(PW_FAKE_HELP_COMPONENT);
  EXPECT_EQ(binding.Show("a.chm", HelpCommand::DisplayTopic, 0), 0u);
  EXPECT_EQ(binding.state(), HelpEngineBinding::State::Failed);
}

TEST(HelpPath, IsTheInstallFoldersHelpFileWithTheTopic) {
  ASSERT_TRUE(registry::SetValue(Hive::LocalMachine, settings::kMachineKey,
                                 {"InstallPath", registry::ValueType::Sz, registry::TextData("/opt/pagewick")}));
  EXPECT_EQ(dialogs::HelpPath(dialogs::kResolutionHelpTopic), "/opt/pagewick/Snaplet.chm::/dim.htm");
  EXPECT_EQ(dialogs::HelpPath(dialogs::kHatchHelpTopic), "/opt/pagewick/Snaplet.chm::/hatch.htm");
  EXPECT_EQ(dialogs::HelpPath(""), "/opt/pagewick/Snaplet.chm");
}

}  // namespace
}  // namespace pw::platform
