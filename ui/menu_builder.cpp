#include "ui/menu_builder.h"

#include "ui/options_marks.h"

#include <QMenu>

#include <algorithm>

namespace pw::ui {
namespace {

bool Listed(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

void AddItems(QMenu& menu, std::span<const res::MenuItem> items, const std::function<void(int)>& dispatch,
              const OptionsMarks* marks) {
  for (const res::MenuItem& item : items) {
    const QString text = QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
    switch (item.kind) {
      case res::MenuItem::Kind::Separator:
        menu.addSeparator();
        break;
      case res::MenuItem::Kind::Submenu:
        AddItems(*menu.addMenu(text), item.items, dispatch, marks);
        break;
      case res::MenuItem::Kind::Command: {
        QAction* action = menu.addAction(text);
        const int command = item.command;
        action->setData(command);
        if (marks && Listed(marks->checked, command)) {
          action->setCheckable(true);
          action->setChecked(true);
        }
        if (marks && Listed(marks->greyed, command)) action->setEnabled(false);
        QObject::connect(action, &QAction::triggered, &menu, [dispatch, command] { dispatch(command); });
        break;
      }
    }
  }
}

int QtKeyOf(int virtual_key) {
  namespace vk = res::vk;
  if ((virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z')) return virtual_key;
  if (virtual_key >= vk::kF1 && virtual_key <= vk::kF1 + 11) return Qt::Key_F1 + (virtual_key - vk::kF1);
  switch (virtual_key) {
    case vk::kEscape: return Qt::Key_Escape;
    case vk::kPageUp: return Qt::Key_PageUp;
    case vk::kPageDown: return Qt::Key_PageDown;
    case vk::kLeft: return Qt::Key_Left;
    case vk::kUp: return Qt::Key_Up;
    case vk::kRight: return Qt::Key_Right;
    case vk::kDown: return Qt::Key_Down;
    default: return 0;
  }
}

}  // namespace

std::unique_ptr<QMenu> BuildMenu(const res::Popup& popup, QWidget* parent, const std::function<void(int)>& dispatch,
                                 const OptionsMarks* marks) {
  auto menu = std::make_unique<QMenu>(parent);
  AddItems(*menu, popup.items, dispatch, marks);
  return menu;
}

QKeySequence KeySequenceOf(const res::Accelerator& accelerator) {
  const int key = QtKeyOf(accelerator.key);
  if (key == 0) return {};
  Qt::KeyboardModifiers modifiers;
  if (accelerator.control) modifiers |= Qt::ControlModifier;
  if (accelerator.shift) modifiers |= Qt::ShiftModifier;
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

}  // namespace pw::ui
