#include "platform/help/html_help.h"

#include "platform/registry/registry.h"

#include <algorithm>

namespace pw::platform {
namespace {

// The default value of the class key as a path, when it is a text.
std::optional<std::string> RegisteredComponentPath() {
  std::optional<registry::Value> value =
      registry::QueryValue(registry::Hive::ClassesRoot, kHtmlHelpServerKey, "");
  if (!value || (value->type != registry::ValueType::Sz && value->type != registry::ValueType::ExpandSz))
    return std::nullopt;
  auto end = std::find(value->data.begin(), value->data.end(), std::uint8_t{0});
  std::string path(value->data.begin(), end);
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace

HelpEngineBinding::HelpEngineBinding(std::string component_name) : component_name_(std::move(component_name)) {}

void HelpEngineBinding::Bind() {
  // A key with a path that does not load is a failure; only a missing key
  // falls back to the name.
  const std::string from = RegisteredComponentPath().value_or(component_name_);
  tl::expected<SharedLibrary, std::string> library = SharedLibrary::Open(from);
  HtmlHelpFunction entry = library ? library->Find<HtmlHelpFunction>(kHtmlHelpEntryName) : nullptr;
  if (!entry) {
    state_ = State::Failed;
    return;
  }
  // The help window outlives the request that opened it.
  library->KeepForRun();
  library_ = std::move(*library);
  entry_ = entry;
  bound_from_ = from;
  state_ = State::Bound;
}

std::uintptr_t HelpEngineBinding::Show(const std::string& file, HelpCommand command, std::uintptr_t data) {
  HtmlHelpFunction entry = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Unbound) Bind();
    entry = entry_;
  }
  if (!entry) return 0;
  return entry(0, file.c_str(), static_cast<unsigned>(command), data);
}

HelpEngineBinding::State HelpEngineBinding::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

std::string HelpEngineBinding::boundFrom() const {
  std::lock_guard lock(mutex_);
  return bound_from_;
}

HelpEngineBinding& HelpEngine() {
  static HelpEngineBinding binding;
  return binding;
}

std::uintptr_t HtmlHelp(const std::string& file, HelpCommand command, std::uintptr_t data) {
  return HelpEngine().Show(file, command, data);
}

}  // namespace pw::platform
