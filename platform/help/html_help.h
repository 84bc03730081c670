#pragma once
// The HTML Help engine: a help component loaded at run time on the first
// help request and kept for the rest of the run. Its path is the default
// value of the component's class key under the classes root; without that
// key the component is loaded by name. A component that cannot be loaded,
// or lacks the entry, is remembered as failed: every help request then
// does nothing and reports 0, without a message.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/library/shared_library.h"

namespace pw::platform {

inline constexpr std::string_view kHtmlHelpServerKey =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
inline constexpr const char* kHtmlHelpComponentName = "libpwHtmlHelp.so";
inline constexpr const char* kHtmlHelpEntryName = "HtmlHelpA";

// What a help request asks of the component.
enum class HelpCommand : unsigned { DisplayTopic = 0 };

// The component's entry: the owner window (0 for none), the help file with
// an optional "::/topic.htm", the command and its data. Returns the help
// window's id, or 0 when nothing was shown.
using HtmlHelpFunction = std::uintptr_t (*)(std::uintptr_t owner, const char* file, unsigned command,
                                            std::uintptr_t data);

class HelpEngineBinding {
 public:
  enum class State { Unbound, Bound, Failed };

  // component_name: what is loaded when the class key has no path.
  explicit HelpEngineBinding(std::string component_name = kHtmlHelpComponentName);

  // Binds on the first call, then passes the request to the component.
  std::uintptr_t Show(const std::string& file, HelpCommand command, std::uintptr_t data);

  State state() const;
  // The component's path or name as it was loaded, once bound.
  std::string boundFrom() const;

 private:
  void Bind();

  const std::string component_name_;
  mutable std::mutex mutex_;
  State state_ = State::Unbound;
  std::optional<SharedLibrary> library_;
  HtmlHelpFunction entry_ = nullptr;
  std::string bound_from_;
};

// The program's one binding.
HelpEngineBinding& HelpEngine();

// A request through the program's binding, with no owner window.
std::uintptr_t HtmlHelp(const std::string& file, HelpCommand command, std::uintptr_t data);

}  // namespace pw::platform
