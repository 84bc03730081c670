#pragma once
// The command panel: seven picture buttons at the frame's left edge. A
// button lights up under the mouse (one at a time), explains itself in a
// tooltip, shows the hand cursor and reports a click with its index.
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

#include "ui/frame_layout.h"

namespace pw::ui {

// Which button is lit: at most one.
class PanelHover {
 public:
  void Light(int index);
  void Clear();
  bool IsLit(int index) const;
  // -1 when none is lit.
  int Lit() const { return lit_; }

 private:
  int lit_ = -1;
};

// Button indexes, in panel order.
enum class PanelButton : int { SendEmail = 0, SaveToDisk, Options, Help, ExitToWord, SavePdf, SaveHtml };

// The tooltip of button `index`.
const char* PanelTooltip(int index);

class CommandButton;

class CommandPanel {
 public:
  // Makes the seven buttons as children of `frame`, placed and shown.
  // `clicked` gets the button's index and the click point in the button.
  CommandPanel(QWidget* frame, std::function<void(int index, QPoint at)> clicked);

  // Mouse movement anywhere but the buttons: no button stays lit.
  void clearHover();

  const PanelHover& hover() const { return hover_; }
  QWidget* button(int index) const;

 private:
  friend class CommandButton;
  void enter(int index);
  void repaintAll();

  PanelHover hover_;
  std::function<void(int, QPoint)> clicked_;
  std::array<CommandButton*, kButtonCount> buttons_{};  // children of the frame
};

class CommandButton final : public QWidget {
 public:
  CommandButton(QWidget* parent, int index, CommandPanel& panel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int index_;
  CommandPanel& panel_;
  QPixmap normal_;
  QPixmap lit_;
};

}  // namespace pw::ui
