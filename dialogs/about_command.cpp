#include "dialogs/about_command.h"

#include "platform/library/shared_library.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::dialogs {

std::string AboutLibraryPath() {
  return settings::ReadMachineString(settings::kInstallPath).value_or(std::string()) + "/" + kAboutLibraryName;
}

AboutOutcome RunAboutCommand() {
  tl::expected<platform::SharedLibrary, std::string> library = platform::SharedLibrary::Open(AboutLibraryPath());
  if (!library) return AboutOutcome::NoLibrary;
  auto entry = library->Find<int (*)()>(kAboutEntryName);
  if (!entry) return AboutOutcome::NoEntry;
  entry();
  return AboutOutcome::Shown;
}

}  // namespace pw::dialogs
