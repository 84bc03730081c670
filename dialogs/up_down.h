#pragma once
// An up-down control: two arrow buttons beside a buddy edit. It keeps no
// position of its own (the dialog's model does); it reports each arrow,
// clicked or pressed as Up or Down in the buddy, as a step of +1 or -1.
#include <QLineEdit>
#include <QObject>
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace pw::dialogs {

class UpDown final : public QWidget {
 public:
  UpDown(QLineEdit& buddy, QWidget* parent);

  void setOnStep(std::function<void(int)> on_step) { on_step_ = std::move(on_step); }
  // Clicks an arrow as the user would: +1 up, -1 down.
  void step(int delta);

  QToolButton& upButton() { return up_; }
  QToolButton& downButton() { return down_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(int)> on_step_;
  QToolButton up_{this};
  QToolButton down_{this};
};

}  // namespace pw::dialogs
