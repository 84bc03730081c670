#pragma once
// One table from command identifier to the operation it runs. The menus,
// the accelerators and the command panel's buttons all dispatch through
// it; the subsystems that own an operation install it with Set. A command
// without an operation does nothing.
#include <functional>
#include <unordered_map>

namespace pw::ui {

class CommandTable {
 public:
  using Handler = std::function<void()>;

  // Installs (or, with an empty handler, removes) the operation of `id`.
  void Set(int id, Handler handler);

  bool Has(int id) const;

  // Runs the operation of `id`; false when there is none.
  bool Run(int id) const;

 private:
  std::unordered_map<int, Handler> handlers_;
};

}  // namespace pw::ui
