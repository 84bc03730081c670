#include "ui/command_table.h"

namespace pw::ui {

void CommandTable::Set(int id, Handler handler) {
  if (handler) {
    handlers_[id] = std::move(handler);
  } else {
    handlers_.erase(id);
  }
}

bool CommandTable::Has(int id) const { return handlers_.contains(id); }

bool CommandTable::Run(int id) const {
  const auto found = handlers_.find(id);
  if (found == handlers_.end()) return false;
  // A copy: the operation may replace its own entry while it runs.
  const Handler handler = found->second;
  handler();
  return true;
}

}  // namespace pw::ui
