#pragma once
// lvStartHelp: the "Tip of the Day" dialog (template 193), shown modally at
// start-up. Close and "Next Tip" move the stored tip number on; Esc and the
// close box leave it as it was.
#include <QCheckBox>
#include <QDialog>
#include <QFont>
#include <QPushButton>

#include <optional>

namespace pw::dialogs {

class lvStartHelp final : public QDialog {
 public:
  // tip_font: the main frame's font for the tip text, when there is a frame.
  explicit lvStartHelp(QWidget* parent = nullptr, std::optional<QFont> tip_font = std::nullopt);

  // 1 while "Show tips at startup" was ticked when the dialog ended with
  // Close; starts at 1 and is only taken from the box on Close.
  int showAtStartup() const { return show_at_startup_; }

  // The tip the dialog shows (0 to 5).
  int shownTip() const;

  QPushButton& closeButton() { return close_button_; }
  QPushButton& nextTipButton() { return next_button_; }
  QCheckBox& showAtStartupBox() { return show_box_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Moves the stored tip number on by the rotation rule and stores it.
  void advanceTip();
  void onNextTip();
  void onClose();
  // The check box and the flag: into the box when toward_box, else back.
  void exchangeData(bool toward_box);

  std::optional<QFont> tip_font_;
  int show_at_startup_ = 1;
  int tip_number_ = -1;  // lvNumTipOfTheDay as last read or written
  // Children by value: they leave the dialog before its base goes.
  QPushButton close_button_{QStringLiteral("Close"), this};
  QPushButton next_button_{QStringLiteral("Next Tip"), this};
  QCheckBox show_box_{QStringLiteral("Show tips at startup"), this};
};

}  // namespace pw::dialogs
