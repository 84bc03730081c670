#pragma once
// One table from command identifier to the operation it runs. The menus,
// the accelerators and the command panel's buttons all dispatch through
// it; the subsystems that own an operation install it with Set. A command
// without an operation does nothing.
#include <functional>
#include <unordered_map>

namespace pw::ui {

// Where a command came from. The option commands ask to leave Quick Start
// Reference mode only for keys: a menu item or a button has been reached
// through the command panel, which asks before it opens its pop-up.
enum class CommandSource { MenuOrButton, Key };

class CommandTable {
 public:
  using Handler = std::function<void()>;
  using SourcedHandler = std::function<void(CommandSource)>;

  // Installs (or, with an empty handler, removes) the operation of `id`.
  void Set(int id, Handler handler);
  // The same for an operation that depends on where the command came from.
  void SetSourced(int id, SourcedHandler handler);

  bool Has(int id) const;

  // Runs the operation of `id`; false when there is none.
  bool Run(int id, CommandSource source = CommandSource::MenuOrButton) const;

 private:
  std::unordered_map<int, SourcedHandler> handlers_;
};

}  // namespace pw::ui
