#pragma once
// lvSetHatchDlg: the modal "Hatch Settings" dialog (template 192), a thin
// window over HatchModel with a live preview of the pattern and two colour
// swatches that open the colour chooser. OK stores what changed; Cancel
// drops the working copy.
#include <QCheckBox>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/hatch_model.h"
#include "dialogs/up_down.h"

namespace pw::dialogs {

class lvSetHatchDlg final : public QDialog {
 public:
  // Asks for a colour starting from the given one; nothing on Cancel.
  using ColorChooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

  explicit lvSetHatchDlg(QWidget* parent, const settings::Settings& settings);

  // Client rectangles of the swatches and the preview (pixels, edges
  // included in the rectangle as the desktop's are: right and bottom out).
  static constexpr QRect kBackgroundSwatch{10, 10, 30, 20};
  static constexpr QRect kHatchSwatch{10, 35, 30, 20};
  static constexpr QRect kPreview{162, 11, 155, 156};

  // The platform's colour chooser by default; tests put in their own.
  void setColorChooser(ColorChooser chooser) { chooser_ = std::move(chooser); }

  const HatchModel& model() const { return model_; }
  QLineEdit& edit(int id) { return *edits_.at(id); }
  UpDown& upDown(int id) { return *up_downs_.at(id); }
  QCheckBox& horizontalBox() { return horizontal_; }
  QCheckBox& verticalBox() { return vertical_; }
  QCheckBox& showBackgroundBox() { return show_background_; }
  QPushButton& okButton() { return ok_; }
  QPushButton& cancelButton() { return cancel_; }
  QPushButton& helpButton() { return help_; }

  // The preview pattern as it is painted: the preview rectangle's pixels.
  QImage previewImage() const;

  // The face colour that fills the client area around the preview; taken
  // once per program run, at the first paint of any hatch dialog.
  QColor faceColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Unit {
    int x, y;
    QString text;
  };
  void addField(int edit_id, int up_down_id, int y, int label_y, const QString& label, const Unit& unit);
  QLabel& addLabel(const QString& text, int x, int y, int w, int h);
  // Enables the pattern's controls while a background is shown.
  void syncEnabled();
  void onOk();

  HatchModel model_;
  ColorChooser chooser_;
  QPushButton ok_{QStringLiteral("OK"), this};
  QPushButton cancel_{QStringLiteral("Cancel"), this};
  QPushButton help_{QStringLiteral("Help"), this};
  QCheckBox horizontal_{QStringLiteral("Horizontal lines"), this};
  QCheckBox vertical_{QStringLiteral("Vertical lines"), this};
  QCheckBox show_background_{QStringLiteral("show background"), this};
  std::map<int, std::unique_ptr<QLineEdit>> edits_;
  std::map<int, std::unique_ptr<UpDown>> up_downs_;
  std::vector<std::unique_ptr<QLabel>> labels_;  // enabled with the pattern
};

// Runs the dialog modally over the current settings; true after OK, when
// the changed values have been stored.
bool RunHatchDialog(QWidget* parent);

}  // namespace pw::dialogs
