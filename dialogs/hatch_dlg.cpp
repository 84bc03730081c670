#include "dialogs/hatch_dlg.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include "dialogs/dialog_units.h"
#include "dialogs/help.h"
#include "platform/gdi/dc/device_context.h"
#include "platform/gdi/dc/surface.h"
#include "render/gdi_canvas.h"
#include "render/hatch_preview.h"
#include "res/resources.h"

namespace pw::dialogs {
namespace {

// COLORREF 0x00FF0000: the frame of the preview and the swatches.
const QColor kFrameColor(0, 0, 255);

QColor FromColorref(settings::Colorref c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

settings::Colorref ToColorref(const QColor& c) {
  return static_cast<settings::Colorref>(c.red()) | static_cast<settings::Colorref>(c.green()) << 8 |
         static_cast<settings::Colorref>(c.blue()) << 16;
}

std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) {
  // Qt's own chooser always shows its custom colours: the chooser fully open.
  const QColor chosen = QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

// The swatches answer the mouse on their right and bottom edges as well.
bool OverSwatch(const QRect& swatch, QPoint at) { return swatch.adjusted(0, 0, 1, 1).contains(at); }

void FramedFill(QPainter& painter, const QRect& rect, const QColor& fill) {
  painter.fillRect(rect, fill);
  painter.setPen(kFrameColor);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

}  // namespace

lvSetHatchDlg::lvSetHatchDlg(QWidget* parent, const settings::Settings& settings)
    : QDialog(parent), model_(settings), chooser_(ChooseColor) {
  setWindowTitle(QStringLiteral("Hatch Settings"));
  setWindowIcon(res::MainIcon());
  setFont(TemplateFont());
  setFixedSize(DluSize(218, 146));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setMouseTracking(true);

  ok_.setGeometry(DluRect(85, 125, 40, 14));
  ok_.setDefault(true);
  cancel_.setGeometry(DluRect(128, 125, 40, 14));
  help_.setGeometry(DluRect(171, 125, 40, 14));
  for (QPushButton* button : {&cancel_, &help_}) button->setAutoDefault(false);
  connect(&ok_, &QPushButton::clicked, this, &lvSetHatchDlg::onOk);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(&help_, &QPushButton::clicked, this, [] { ShowHelp(kHatchHelpTopic); });

  addLabel(QStringLiteral("background color"), 31, 8, 56, 8);
  addLabel(QStringLiteral("hatch color"), 31, 23, 36, 8);

  horizontal_.setGeometry(DluRect(7, 43, 64, 10));
  horizontal_.setChecked(model_.Working().horizontal_lines);
  connect(&horizontal_, &QCheckBox::clicked, this, [this] {
    model_.ToggleHorizontal();
    horizontal_.setChecked(model_.Working().horizontal_lines);
    update(kPreview);
  });
  vertical_.setGeometry(DluRect(7, 57, 67, 10));
  vertical_.setChecked(model_.Working().vertical_lines);
  connect(&vertical_, &QCheckBox::clicked, this, [this] {
    model_.ToggleVertical();
    vertical_.setChecked(model_.Working().vertical_lines);
    update(kPreview);
  });

  addField(kHatchWidthEdit, kHatchWidthUpDown, 81, 72, QStringLiteral("line width:"), {50, 82, QStringLiteral(" px")});
  addField(kHatchSpacingEdit, kHatchSpacingUpDown, 106, 97, QStringLiteral("line spacing:"),
           {50, 106, QStringLiteral(" px")});
  addField(kHatchAngleEdit, kHatchAngleUpDown, 127, 118, QStringLiteral("line angle:"),
           {49, 128, QStringLiteral(" degree")});

  show_background_.setGeometry(DluRect(122, 108, 72, 10));
  show_background_.setChecked(model_.Shown());
  connect(&show_background_, &QCheckBox::clicked, this, [this] {
    model_.ToggleShowBackground();
    show_background_.setChecked(model_.Shown());
    syncEnabled();
  });
  syncEnabled();
}

QLabel& lvSetHatchDlg::addLabel(const QString& text, int x, int y, int w, int h) {
  auto& label = labels_.emplace_back(std::make_unique<QLabel>(text, this));
  label->setGeometry(DluRect(x, y, w, h));
  return *label;
}

void lvSetHatchDlg::addField(int edit_id, int up_down_id, int y, int label_y, const QString& label,
                             const Unit& unit) {
  addLabel(label, 7, label_y, 51, 8);
  auto& edit = edits_[edit_id] = std::make_unique<QLineEdit>(QString::fromStdString(model_.Text(edit_id)), this);
  edit->setGeometry(DluRect(7, y, 30, 12));
  edit->setAlignment(Qt::AlignCenter);
  edit->setProperty("controlId", edit_id);
  connect(edit.get(), &QLineEdit::textEdited, this, [this, edit_id](const QString& text) {
    model_.Type(edit_id, text.toStdString());
    update(kPreview);
  });
  auto& up_down = up_downs_[up_down_id] = std::make_unique<UpDown>(*edit, this);
  up_down->setGeometry(DluRect(37, y, 11, 12));
  up_down->setProperty("controlId", up_down_id);
  up_down->setOnStep([this, edit_id, up_down_id](int delta) {
    model_.Step(up_down_id, delta);
    edits_.at(edit_id)->setText(QString::fromStdString(model_.Text(edit_id)));
    update(kPreview);
  });
  addLabel(unit.text, unit.x, unit.y, 26, 8);
}

void lvSetHatchDlg::syncEnabled() {
  const bool shown = model_.Shown();
  for (QWidget* widget : {static_cast<QWidget*>(&horizontal_), static_cast<QWidget*>(&vertical_)})
    widget->setEnabled(shown);
  for (auto& label : labels_) label->setEnabled(shown);
  for (auto& [id, edit] : edits_) edit->setEnabled(shown);
  if (!shown) unsetCursor();
}

QImage lvSetHatchDlg::previewImage() const {
  std::optional<gdi::Surface> surface = gdi::Surface::Create(kPreview.width(), kPreview.height());
  if (!surface) return {};
  {
    // Drawn in client coordinates: the pattern turns about the client
    // origin, and what runs outside the preview falls off the surface.
    gdi::DeviceContext dc(*surface);
    dc.SetWindowOrg(kPreview.topLeft());
    render::GdiPatternCanvas canvas(dc);
    const render::PageRect rect{kPreview.left(), kPreview.top(), kPreview.right() + 1, kPreview.bottom() + 1};
    render::DrawLineHatchPreview(canvas, rect, 0, -1, -1, -1, model_.Working());
  }
  return surface->image();
}

QColor lvSetHatchDlg::faceColor() const {
  // Taken at the first paint of the program run and kept: the brush the
  // dialog's face is filled with, which is what client pixel (5, 10), left
  // of the swatches, shows.
  static const QColor face = palette().brush(backgroundRole()).color();
  return face;
}

void lvSetHatchDlg::paintEvent(QPaintEvent* /*event*/) {
  const QColor face = faceColor();
  QPainter painter(this);
  painter.drawImage(kPreview.topLeft(), previewImage());
  painter.setPen(kFrameColor);
  painter.drawRect(kPreview.adjusted(0, 0, -1, -1));
  // The face colour all around the preview; the controls paint over it.
  const QRect client = rect();
  painter.fillRect(QRect(0, 0, client.width(), kPreview.top()), face);
  painter.fillRect(QRect(0, kPreview.bottom() + 1, client.width(), client.height() - kPreview.bottom() - 1), face);
  painter.fillRect(QRect(0, 0, kPreview.left(), client.height()), face);
  painter.fillRect(QRect(kPreview.right() + 1, 0, client.width() - kPreview.right() - 1, client.height()), face);
  FramedFill(painter, kBackgroundSwatch, FromColorref(model_.Working().background_color));
  FramedFill(painter, kHatchSwatch, FromColorref(model_.Working().hatch_color));
}

void lvSetHatchDlg::mouseMoveEvent(QMouseEvent* event) {
  if (model_.Shown()) {
    const QPoint at = event->position().toPoint();
    if (OverSwatch(kBackgroundSwatch, at) || OverSwatch(kHatchSwatch, at))
      setCursor(Qt::PointingHandCursor);  // the program's hand cursor
    else
      unsetCursor();
  }
  QDialog::mouseMoveEvent(event);
}

void lvSetHatchDlg::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && model_.Shown()) {
    const bool background = OverSwatch(kBackgroundSwatch, at);
    if (background || OverSwatch(kHatchSwatch, at)) {
      const settings::Colorref from =
          background ? model_.Working().background_color : model_.Working().hatch_color;
      if (const std::optional<QColor> chosen = chooser_(this, FromColorref(from))) {
        if (background)
          model_.SetBackgroundColor(ToColorref(*chosen));
        else
          model_.SetHatchColor(ToColorref(*chosen));
        update();
      }
    }
  }
  QDialog::mousePressEvent(event);
}

void lvSetHatchDlg::onOk() {
  model_.Commit();
  accept();
}

bool RunHatchDialog(QWidget* parent) {
  lvSetHatchDlg dialog(parent, settings::Snapshot());
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace pw::dialogs
