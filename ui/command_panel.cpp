#include "ui/command_panel.h"

#include "res/resource_ids.h"
#include "res/resources.h"
#include "ui/hand_cursor.h"

#include <QMouseEvent>
#include <QPainter>

namespace pw::ui {

void PanelHover::Light(int index) { lit_ = index; }

void PanelHover::Clear() { lit_ = -1; }

bool PanelHover::IsLit(int index) const { return lit_ == index && index >= 0; }

const char* PanelTooltip(int index) {
  static constexpr std::array<const char*, kButtonCount> kTooltips{
      "Send E-Mail (Ctrl+M)",
      "Save to Disk (Ctrl+S)",
      "Options...",
      "Help... (F1)",
      "Exit and Back to Word (Alt+F4)",
      "Save to Multipaged PDF (Ctrl+P)",
      "Save files with HTML (Ctrl+W)",
  };
  return index >= 0 && index < kButtonCount ? kTooltips[static_cast<std::size_t>(index)] : "";
}

CommandPanel::CommandPanel(QWidget* frame, std::function<void(int, QPoint)> clicked)
    : clicked_(std::move(clicked)) {
  for (int i = 0; i < kButtonCount; ++i) {
    auto* button = new CommandButton(frame, i, *this);
    button->setGeometry(ButtonGeometry(i));
    button->show();
    buttons_[static_cast<std::size_t>(i)] = button;
  }
}

QWidget* CommandPanel::button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

void CommandPanel::enter(int index) {
  if (hover_.Lit() == index) return;
  hover_.Light(index);
  repaintAll();
}

void CommandPanel::clearHover() {
  if (hover_.Lit() < 0) return;
  hover_.Clear();
  repaintAll();
}

void CommandPanel::repaintAll() {
  for (CommandButton* button : buttons_) button->update();
}

CommandButton::CommandButton(QWidget* parent, int index, CommandPanel& panel)
    : QWidget(parent),
      index_(index),
      panel_(panel),
      normal_(res::ButtonBitmap(res::kFirstButtonBitmap + 2 * index)),
      lit_(res::ButtonBitmap(res::kFirstButtonBitmap + 2 * index + 1)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(QString::fromLatin1(PanelTooltip(index)));
  setCursor(HandCursor());
}

void CommandButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, panel_.hover().IsLit(index_) ? lit_ : normal_);
}

void CommandButton::mouseMoveEvent(QMouseEvent*) {
  setCursor(HandCursor());
  panel_.enter(index_);
}

void CommandButton::mousePressEvent(QMouseEvent* event) {
  setCursor(HandCursor());
  if (event->button() == Qt::LeftButton && panel_.clicked_) panel_.clicked_(index_, event->position().toPoint());
}

void CommandButton::mouseReleaseEvent(QMouseEvent*) { setCursor(HandCursor()); }

}  // namespace pw::ui
