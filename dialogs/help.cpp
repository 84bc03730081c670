#include "dialogs/help.h"

#include "platform/help/html_help.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::dialogs {

std::string HelpPath(std::string_view topic) {
  // The folder is taken as stored; the program does not check that the
  // help file is there (the help window says so).
  std::string path = settings::ReadMachineString(settings::kInstallPath).value_or(std::string());
  path += '/';
  path += kHelpFileName;
  path += topic;
  return path;
}

std::uintptr_t ShowHelp(std::string_view topic) {
  return platform::HtmlHelp(HelpPath(topic), platform::HelpCommand::DisplayTopic, 0);
}

}  // namespace pw::dialogs
