#pragma once
// Qt menus from the menu tables of res/, and Qt key sequences from the
// accelerator table.
#include <QKeySequence>

#include <functional>
#include <memory>

#include "res/accelerators.h"
#include "res/main_menu.h"

class QMenu;
class QWidget;

namespace pw::ui {

struct OptionsMarks;

// A menu of the popup's items; choosing an item calls `dispatch` with its
// command. `marks` (may be null) checks and greys items.
std::unique_ptr<QMenu> BuildMenu(const res::Popup& popup, QWidget* parent, const std::function<void(int)>& dispatch,
                                 const OptionsMarks* marks = nullptr);

// The key sequence of an accelerator row; empty for a key Qt does not know.
QKeySequence KeySequenceOf(const res::Accelerator& accelerator);

}  // namespace pw::ui
