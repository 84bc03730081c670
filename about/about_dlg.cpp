#include "about/about_dlg.h"

#include "platform/fonts/dialog_font.h"
#include "platform/shell/shell_open.h"
#include "res/dialog_units.h"
#include "res/maker.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace pw::about {
namespace {

// Heights of 15 logical units are character cells; Arial's em is 13 of them.
QFont ArialFont(int weight, bool italic, bool underline) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

QRect OnScreen(const QWidget& widget) { return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()); }

}  // namespace

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setFont(platform::DialogFont());
  setFixedSize(res::DluSize(kTemplateWidth, kTemplateHeight));
  setMouseTracking(true);

  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor::fromRgb(kBackgroundColour));
  colours.setColor(QPalette::WindowText, QColor::fromRgb(kFrameColour));
  setPalette(colours);

  for (std::size_t i = 0; i < kAboutControls.size(); ++i) {
    const TemplateControl& control = kAboutControls[i];
    labels_[i] = std::make_unique<QLabel>(this);
    QLabel& made = *labels_[i];
    made.setGeometry(res::DluRect(control.x, control.y, control.width, control.height));
    // Statics take no mouse input: every click reaches the box itself.
    made.setAttribute(Qt::WA_TransparentForMouseEvents);
    if (control.kind == ControlKind::Bitmap) {
      // Drawn at the artwork's own size from the control's corner.
      made.setAlignment(Qt::AlignLeft | Qt::AlignTop);
      made.setPixmap(QPixmap(control.bitmap == kBannerBitmap ? kBannerPath : kPicturePath));
    } else {
      made.setText(QString::fromUtf8(control.text));
      made.setAlignment((control.right_aligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
  }
  initDialog();
}

void AboutDlg::initDialog() {
  link_font_ = ArialFont(400, false, false);
  hover_font_ = ArialFont(700, false, true);
  version_font_ = ArialFont(700, true, false);
  for (const TemplateControl& control : kAboutControls) {
    if (control.font == FontRole::Link) label(control.id).setFont(link_font_);
    if (control.font == FontRole::Version) label(control.id).setFont(version_font_);
  }
  if (std::optional<std::string> version = ReadStoredVersion())
    label(kVersionStatic).setText(QString::fromStdString(VersionText(version)));

  QPixmap hand(kHandCursorPath);
  hand_cursor_ = hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, kHandHotSpotX, kHandHotSpotY);
}

const QLabel& AboutDlg::control(int id) const {
  for (std::size_t i = 0; i < kAboutControls.size(); ++i)
    if (kAboutControls[i].kind == ControlKind::Static && kAboutControls[i].id == id) return *labels_[i];
  return *labels_.front();
}

const QLabel& AboutDlg::bitmapControl(int bitmap) const {
  for (std::size_t i = 0; i < kAboutControls.size(); ++i)
    if (kAboutControls[i].kind == ControlKind::Bitmap && kAboutControls[i].bitmap == bitmap) return *labels_[i];
  return *labels_.front();
}

QLabel& AboutDlg::label(int id) { return const_cast<QLabel&>(std::as_const(*this).control(id)); }

void AboutDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor::fromRgb(kBackgroundColour));
  // A one-pixel frame on the client area inset by 7 on every side.
  painter.setPen(QColor::fromRgb(kFrameColour));
  painter.drawRect(rect().adjusted(7, 7, -8, -8));
}

LinkHit AboutDlg::hitAt(QPoint screen_point) const {
  return HitTest(screen_point, OnScreen(control(kWebStatic)), OnScreen(control(kMailStatic)));
}

void AboutDlg::mouseMoveEvent(QMouseEvent* event) {
  const HoverOutcome outcome = HoverRule(hitAt(event->globalPosition().toPoint()), highlight_);
  setCursor(outcome.hand_cursor ? hand_cursor_ : arrow_cursor_);
  auto apply = [this](int id, FontChange change) {
    if (change != FontChange::None) label(id).setFont(change == FontChange::ToHover ? hover_font_ : link_font_);
  };
  apply(kWebStatic, outcome.web_font);
  apply(kMailStatic, outcome.mail_font);
  highlight_ = outcome.highlight;
  QDialog::mouseMoveEvent(event);
}

void AboutDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const PressOutcome outcome =
        PressRule(hitAt(event->globalPosition().toPoint()), res::kWebHost, res::kSupportAddress);
    if (!outcome.open.empty()) platform::ShellOpen(outcome.open);
    if (outcome.close) postClose();
  }
  QDialog::mousePressEvent(event);
}

void AboutDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) postClose();
  QDialog::mouseReleaseEvent(event);
}

void AboutDlg::postClose() {
  // Queued, as a posted close request: it goes with the box if the box
  // goes first.
  QMetaObject::invokeMethod(this, [this] { reject(); }, Qt::QueuedConnection);
}

}  // namespace pw::about
