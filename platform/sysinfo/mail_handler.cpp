#include "platform/sysinfo/mail_handler.h"

#include "platform/shell/run_program.h"

namespace pw::platform {

std::optional<std::string> DefaultMailHandler() {
  std::optional<ProgramResult> result =
      RunProgram("xdg-mime", {"query", "default", "x-scheme-handler/mailto"}, 5000);
  if (!result || result->exit_code != 0) return std::nullopt;
  std::string handler = result->output;
  // One line; anything after the first line break is not the answer.
  if (std::size_t end = handler.find_first_of("\r\n"); end != std::string::npos) handler.resize(end);
  if (handler.empty()) return std::nullopt;
  return handler;
}

}  // namespace pw::platform
