#include "ui/command_table.h"

namespace pw::ui {

void CommandTable::Set(int id, Handler handler) {
  if (!handler) {
    handlers_.erase(id);
    return;
  }
  handlers_[id] = [handler = std::move(handler)](CommandSource) { handler(); };
}

void CommandTable::SetSourced(int id, SourcedHandler handler) {
  if (handler) {
    handlers_[id] = std::move(handler);
  } else {
    handlers_.erase(id);
  }
}

bool CommandTable::Has(int id) const { return handlers_.contains(id); }

bool CommandTable::Run(int id, CommandSource source) const {
  const auto found = handlers_.find(id);
  if (found == handlers_.end()) return false;
  // A copy: the operation may replace its own entry while it runs.
  const SourcedHandler handler = found->second;
  handler(source);
  return true;
}

}  // namespace pw::ui
