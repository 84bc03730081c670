#pragma once
// The About box: the banner and picture, the version from the machine key,
// the web and mail links that light up under the mouse, and a click
// anywhere that closes it.
#include <QCursor>
#include <QDialog>
#include <QFont>
#include <QLabel>

#include <array>
#include <memory>

#include "about/about_rules.h"
#include "about/about_template.h"

namespace pw::about {

class AboutDlg final : public QDialog {
 public:
  explicit AboutDlg(QWidget* parent = nullptr);

  // The static of template 5000 with that control id, and the control
  // that shows that bitmap resource.
  const QLabel& control(int id) const;
  const QLabel& bitmapControl(int bitmap) const;
  LinkHighlight highlight() const { return highlight_; }
  const QFont& linkFont() const { return link_font_; }
  const QFont& hoverFont() const { return hover_font_; }
  const QFont& versionFont() const { return version_font_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void initDialog();
  QLabel& label(int id);
  LinkHit hitAt(QPoint screen_point) const;
  void postClose();

  std::array<std::unique_ptr<QLabel>, kAboutControls.size()> labels_;
  QFont link_font_;
  QFont hover_font_;
  QFont version_font_;
  QCursor hand_cursor_;
  QCursor arrow_cursor_{Qt::ArrowCursor};
  LinkHighlight highlight_;
};

// The box's colours (0x00BBGGRR on the desktop it was drawn for).
inline constexpr QRgb kBackgroundColour = 0xFFE0E0F8;  // 0x00F8E0E0
inline constexpr QRgb kFrameColour = 0xFF0000D2;       // 0x00D20000, also the text

}  // namespace pw::about
