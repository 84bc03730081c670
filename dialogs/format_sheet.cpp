#include "dialogs/format_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>

#include <algorithm>

#include "dialogs/dialog_units.h"
#include "dialogs/help.h"
#include "dialogs/up_down.h"
#include "res/resources.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/value_names.h"

namespace pw::dialogs {
namespace {

constexpr int kSliderId = 1005;
constexpr int kCheck1 = 1006;
constexpr int kCheck2 = 1007;
constexpr int kCountEdit = 1008;
constexpr int kDelayEdit = 1023;
constexpr int kDelayUpDown = 1024;
constexpr int kPdfCombo = 1029;

QString Number(int value) { return QString::number(value); }

}  // namespace

template <typename W, typename... Args>
W& FormatSheet::add(QWidget& page, int id, int x, int y, int w, int h, Args&&... args) {
  auto widget = std::make_unique<W>(std::forward<Args>(args)..., &page);
  W& ref = *widget;
  if (w > 0)
    ref.setGeometry(DluRect(x, y, w, h));
  else {
    ref.move(DluToPixelsX(x), DluToPixelsY(y));
    ref.adjustSize();
  }
  if (id) ref.setProperty("controlId", id);
  controls_.push_back(std::move(widget));
  return ref;
}

FormatSheet::FormatSheet(QWidget* parent, const QString& caption, std::vector<FormatPage> pages,
                         settings::ImageFormatValues values, bool with_help)
    : QDialog(parent),
      model_(std::move(values)),
      pages_(std::move(pages)),
      opened_(pages_.size(), false),
      full_(pages_.size() == 6) {
  setWindowTitle(caption);
  setWindowIcon(res::MainIcon());
  setFont(TemplateFont());
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  const QSize page_size = DluSize(202, 74);
  for (FormatPage page : pages_) {
    QWidget& widget = buildPage(page);
    widget.setFixedSize(page_size);
    tabs_.addTab(&widget, QString::fromLatin1(PageCaption(page).data(), PageCaption(page).size()));
  }
  syncColorControls();
  // Every tab in view, as the desktop's sheets show them.
  tabs_.setUsesScrollButtons(false);
  const QSize bar = tabs_.tabBar()->sizeHint();
  const int margin = DluToPixelsX(7);
  tabs_.setGeometry(margin, margin, std::max(page_size.width(), bar.width()) + 4, page_size.height() + bar.height() + 4);
  const int buttons_y = tabs_.geometry().bottom() + 1 + DluToPixelsY(7);
  const QSize button = DluSize(50, 14);
  const int right = tabs_.geometry().right() + 1;
  // OK, Cancel and, in the full sheet, the Apply button's place as Help.
  std::vector<QPushButton*> row{&ok_, &cancel_};
  if (with_help) row.push_back(&help_);
  help_.setVisible(with_help);
  int x = right - static_cast<int>(row.size()) * (button.width() + DluToPixelsX(4)) + DluToPixelsX(4);
  for (QPushButton* b : row) {
    b->setGeometry(QRect(QPoint(x, buttons_y), button));
    x += button.width() + DluToPixelsX(4);
  }
  ok_.setDefault(true);
  cancel_.setAutoDefault(false);
  help_.setAutoDefault(false);
  setFixedSize(right + margin, buttons_y + button.height() + margin);

  connect(&ok_, &QPushButton::clicked, this, &FormatSheet::onOk);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(&help_, &QPushButton::clicked, this, [] { ShowHelp(kOptionsHelpTopic); });
  connect(&tabs_, &QTabWidget::currentChanged, this, &FormatSheet::onPageShown);
  onPageShown(tabs_.currentIndex());
}

void FormatSheet::showPage(FormatPage page) {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i] == page) tabs_.setCurrentIndex(static_cast<int>(i));
  }
}

std::optional<FormatPage> FormatSheet::currentPage() const {
  const int index = tabs_.currentIndex();
  if (index < 0) return std::nullopt;
  return pages_[static_cast<std::size_t>(index)];
}

QWidget* FormatSheet::pageWidget(FormatPage page) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i] == page) return tabs_.widget(static_cast<int>(i));
  }
  return nullptr;
}

QWidget* FormatSheet::control(FormatPage page, int id) const {
  QWidget* widget = pageWidget(page);
  if (!widget) return nullptr;
  for (QWidget* child : widget->findChildren<QWidget*>()) {
    if (child->property("controlId").toInt() == id) return child;
  }
  return nullptr;
}

QWidget& FormatSheet::buildPage(FormatPage page) {
  QWidget& widget = *page_widgets_.emplace_back(std::make_unique<QWidget>());
  switch (page) {
    case FormatPage::Jpg: buildJpg(widget); break;
    case FormatPage::Gif: buildGif(widget); break;
    case FormatPage::Png: buildPng(widget); break;
    case FormatPage::Bmp: add<QLabel>(widget, 0, 81, 25, 0, 0, QStringLiteral("No options")); break;
    case FormatPage::Tif: buildTif(widget); break;
    case FormatPage::AnimatedGif: buildAnimatedGif(widget); break;
    case FormatPage::Pdf: buildPdf(widget); break;
  }
  return widget;
}

void FormatSheet::addColorSlider(QWidget& page, int& colors, int edit_x, int slider_x, int slider_w) {
  auto& edit = add<QLineEdit>(page, kCountEdit, edit_x, 7, 40, 12);
  edit.setReadOnly(true);
  edit.setAlignment(Qt::AlignCenter);
  auto& slider = add<QSlider>(page, kSliderId, slider_x, 19, slider_w, 12, Qt::Horizontal);
  slider.setRange(2, 256);
  // The page limits the count when it first opens (onPageShown).
  slider.setValue(std::clamp(colors, 2, 256));
  edit.setText(Number(colors));
  connect(&slider, &QSlider::valueChanged, this, [&colors, &edit](int value) {
    colors = value;
    edit.setText(Number(value));
  });
}

void FormatSheet::buildJpg(QWidget& page) {
  settings::ImageFormatValues& v = model_.Values();
  add<QLabel>(page, 0, 35, 7, 0, 0, QStringLiteral("Quality:"));
  auto& edit = add<QLineEdit>(page, kCountEdit, 73, 7, 40, 12);
  edit.setReadOnly(true);
  edit.setAlignment(Qt::AlignCenter);
  edit.setText(Number(v.JPG_Quality));
  add<QLabel>(page, 0, 125, 7, 0, 0, QStringLiteral("(0...100)"));
  add<QLabel>(page, 0, 5, 20, 0, 0, QStringLiteral("lowest"));
  auto& slider = add<QSlider>(page, kSliderId, 30, 20, 145, 12, Qt::Horizontal);
  slider.setRange(0, 100);
  slider.setValue(v.JPG_Quality);
  connect(&slider, &QSlider::valueChanged, this, [&v, &edit](int value) {
    v.JPG_Quality = value;
    edit.setText(Number(value));
  });
  add<QLabel>(page, 0, 180, 20, 0, 0, QStringLiteral("best"));
  auto& progressive = add<QCheckBox>(page, kCheck1, 40, 40, 53, 10, QStringLiteral("Progressive"));
  progressive.setChecked(v.JPG_Progress);
  connect(&progressive, &QCheckBox::toggled, this, [&v](bool on) { v.JPG_Progress = on; });
  auto& gray = add<QCheckBox>(page, kCheck2, 125, 40, 47, 10, QStringLiteral("Grayscale"));
  gray.setChecked(v.JPG_Gray);
  connect(&gray, &QCheckBox::toggled, this, [&v](bool on) { v.JPG_Gray = on; });
}

void FormatSheet::buildGif(QWidget& page) {
  settings::ImageFormatValues& v = model_.Values();
  add<QGroupBox>(page, 0, 7, 7, 52, 43, QStringLiteral("File type:"));
  auto& indexed = add<QRadioButton>(page, 1011, 9, 21, 0, 0, QStringLiteral("Indexed"));
  auto& gray = add<QRadioButton>(page, 1012, 9, 34, 0, 0, QStringLiteral("Grayscale"));
  indexed.setChecked(v.GIF_IndexGray == 0);
  gray.setChecked(v.GIF_IndexGray == 1);
  connect(&indexed, &QRadioButton::clicked, this, [&v] { v.GIF_IndexGray = 0; });
  connect(&gray, &QRadioButton::clicked, this, [&v] { v.GIF_IndexGray = 1; });
  add<QLabel>(page, 0, 70, 7, 0, 0, QStringLiteral("Colors:"));
  addColorSlider(page, v.GIF_Colors, 108, 63, 131);
  add<QLabel>(page, 0, 165, 7, 0, 0, QStringLiteral("(2... 256)"));
  auto& dither = add<QCheckBox>(page, kCheck1, 82, 36, 0, 0, QStringLiteral("Dither"));
  dither.setChecked(v.GIF_Dither);
  connect(&dither, &QCheckBox::toggled, this, [&v](bool on) { v.GIF_Dither = on; });
  auto& interlace = add<QCheckBox>(page, kCheck2, 147, 36, 0, 0, QStringLiteral("Interlace"));
  interlace.setChecked(v.GIF_Interlace);
  connect(&interlace, &QCheckBox::toggled, this, [&v](bool on) { v.GIF_Interlace = on; });
}

void FormatSheet::buildPng(QWidget& page) {
  settings::ImageFormatValues& v = model_.Values();
  add<QGroupBox>(page, 0, 7, 7, 53, 45, QStringLiteral("File type:"));
  const struct {
    int id, y, type;
    const char* text;
  } radios[] = {{1009, 17, 0, "True Color"}, {1010, 28, 1, "Indexed"}, {1011, 39, 2, "Grayscale"}};
  for (const auto& r : radios) {
    auto& radio = add<QRadioButton>(page, r.id, 10, r.y, 0, 0, QString::fromLatin1(r.text));
    radio.setChecked(v.PNG_TrueIndexGray == r.type);
    connect(&radio, &QRadioButton::clicked, this, [this, &v, type = r.type] {
      v.PNG_TrueIndexGray = type;
      syncColorControls();
    });
  }
  add<QLabel>(page, 0, 71, 7, 0, 0, QStringLiteral("Colors:"));
  addColorSlider(page, v.PNG_Colors, 107, 67, 130);
  add<QLabel>(page, 0, 163, 7, 0, 0, QStringLiteral("(2... 256)"));
  auto& dither = add<QCheckBox>(page, kCheck1, 85, 40, 0, 0, QStringLiteral("Dither"));
  dither.setChecked(v.PNG_Dither);
  connect(&dither, &QCheckBox::toggled, this, [&v](bool on) { v.PNG_Dither = on; });
  auto& interlace = add<QCheckBox>(page, kCheck2, 145, 40, 0, 0, QStringLiteral("Interlace"));
  interlace.setChecked(v.PNG_Interlace);
  connect(&interlace, &QCheckBox::toggled, this, [&v](bool on) { v.PNG_Interlace = on; });
  syncColorControls();
}

void FormatSheet::buildTif(QWidget& page) {
  settings::ImageFormatValues& v = model_.Values();
  add<QLabel>(page, 0, 13, 7, 0, 0, QStringLiteral("Colors:"));
  addColorSlider(page, v.TIF_Colors, 49, 7, 130);
  add<QLabel>(page, 0, 105, 7, 0, 0, QStringLiteral("(2... 256)"));
  auto& lzw = add<QCheckBox>(page, kCheck1, 43, 34, 0, 0, QStringLiteral("LZW compression"));
  lzw.setChecked(v.TIF_Lzw);
  connect(&lzw, &QCheckBox::toggled, this, [&v](bool on) { v.TIF_Lzw = on; });
  add<QGroupBox>(page, 0, 143, 7, 53, 57, QStringLiteral("File type:"));
  const struct {
    int id, y, type;
    const char* text;
  } radios[] = {{1009, 17, 0, "True Color"}, {1010, 28, 1, "Indexed"}, {1011, 39, 2, "Grayscale"}, {1012, 49, 3, "B / W"}};
  for (const auto& r : radios) {
    auto& radio = add<QRadioButton>(page, r.id, 146, r.y, 0, 0, QString::fromLatin1(r.text));
    radio.setChecked(v.TIF_TrueIndexGray == r.type);
    connect(&radio, &QRadioButton::clicked, this, [this, &v, type = r.type] {
      v.TIF_TrueIndexGray = type;
      syncColorControls();
    });
  }
  syncColorControls();
}

void FormatSheet::buildAnimatedGif(QWidget& page) {
  add<QLabel>(page, 0, 7, 9, 0, 0, QStringLiteral("Delay for animation:"));
  auto& edit = add<QLineEdit>(page, kDelayEdit, 80, 7, 30, 12);
  edit.setAlignment(Qt::AlignCenter);
  delay_up_down_.position = ClampToRange(delay_up_down_, model_.Values().GIF_Delay);
  edit.setText(Number(delay_up_down_.position));
  connect(&edit, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.TypeDelay(EditInteger(text.toStdString())); });
  auto& up_down = add<UpDown>(page, kDelayUpDown, 110, 7, 11, 12, edit);
  up_down.setOnStep([this, &edit](int delta) {
    delay_up_down_.position = SteppedPosition(delay_up_down_, edit.text().toStdString(), delta);
    edit.setText(Number(delay_up_down_.position));
    model_.TypeDelay(delay_up_down_.position);
  });
  add<QLabel>(page, 0, 127, 9, 0, 0, QStringLiteral(", ms"));
}

void FormatSheet::buildPdf(QWidget& page) {
  auto& combo = add<QComboBox>(page, kPdfCombo, 7, 7, 53, 12);
  for (std::string_view item : kPdfInsideFormats) combo.addItem(QString::fromLatin1(item.data(), item.size()));
  combo.setCurrentIndex(-1);
  connect(&combo, &QComboBox::activated, this, [this](int item) { model_.SelectPdfItem(item); });
  add<QLabel>(page, 0, 65, 9, 0, 0, QStringLiteral("Select inside format"));
  add<QLabel>(page, 0, 7, 38, 0, 0, QStringLiteral("BMP - recommended!"));
}

void FormatSheet::syncColorControls() {
  const auto enable = [this](FormatPage page, bool on, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (QWidget* widget = control(page, id)) widget->setEnabled(on);
    }
  };
  enable(FormatPage::Png, model_.PngColorsEnabled(), {kSliderId, kCountEdit, kCheck1});
  enable(FormatPage::Tif, model_.TifColorsEnabled(), {kSliderId, kCountEdit});
}

void FormatSheet::onPageShown(int index) {
  if (index < 0 || opened_[static_cast<std::size_t>(index)]) return;
  opened_[static_cast<std::size_t>(index)] = true;
  const FormatPage page = pages_[static_cast<std::size_t>(index)];
  model_.OpenPage(page);
  const settings::ImageFormatValues& v = model_.Values();
  const auto show_count = [this, page](int colors) {
    if (auto* edit = static_cast<QLineEdit*>(control(page, kCountEdit))) edit->setText(Number(colors));
  };
  if (page == FormatPage::Gif) show_count(v.GIF_Colors);
  if (page == FormatPage::Png) show_count(v.PNG_Colors);
  if (page == FormatPage::Tif) show_count(v.TIF_Colors);
  if (page == FormatPage::Pdf) {
    auto* combo = static_cast<QComboBox*>(control(page, kPdfCombo));
    combo->setCurrentIndex(model_.PdfItem().value_or(-1));
  }
}

void FormatSheet::onOk() {
  if (full_) {
    if (const std::optional<FormatPage> page = currentPage()) model_.OkOnPage(*page);
  }
  accept();
}

bool RunFullFormatSheet(QWidget* parent, settings::ImageFormatValues& values) {
  FormatSheet sheet(parent, QStringLiteral("Image Format and Quality"),
                    {FormatPage::Jpg, FormatPage::Gif, FormatPage::Png, FormatPage::Bmp, FormatPage::Tif,
                     FormatPage::Pdf},
                    values, true);
  sheet.showPage(sheet.model().StartPage());
  if (sheet.exec() != QDialog::Accepted) return false;
  values = sheet.model().Values();
  return true;
}

bool RunSingleFormatSheet(QWidget* parent) {
  const settings::Settings s = settings::Snapshot();
  FormatPage page = FormatPage::Bmp;
  settings::FormatCommit commit = settings::FormatCommit::All;
  if (s.JPG_Default) {
    page = FormatPage::Jpg;
    commit = settings::FormatCommit::Jpg;
  } else if (s.GIF_Default) {
    page = FormatPage::Gif;
    commit = settings::FormatCommit::Gif;
  } else if (s.PNG_Default) {
    page = FormatPage::Png;
    commit = settings::FormatCommit::Png;
  } else if (s.TIF_Default) {
    page = FormatPage::Tif;
    commit = settings::FormatCommit::Tif;
  }
  if (page == FormatPage::Bmp) return false;
  FormatSheet sheet(parent, QStringLiteral("Image Format Options"), {page}, settings::ImageFormatValuesFrom(s), false);
  if (sheet.exec() != QDialog::Accepted) return false;
  settings::CommitImageFormatValues(sheet.model().Values(), commit);
  return true;
}

bool RunExtraFormatSheet(QWidget* parent, int kind) {
  if (kind != 1 && kind != 2) return false;
  const FormatPage page = kind == 1 ? FormatPage::AnimatedGif : FormatPage::Pdf;
  FormatSheet sheet(parent, QStringLiteral("Image Format Options"), {page},
                    settings::ImageFormatValuesFrom(settings::Snapshot()), false);
  if (sheet.exec() != QDialog::Accepted) return false;
  const settings::ImageFormatValues& v = sheet.model().Values();
  if (kind == 1)
    settings::Change(&settings::Settings::GIF_Delay, v.GIF_Delay);
  else
    settings::WriteUserString(settings::kPdfBitmpFormat, v.PDF_Bitmp_Format);
  return true;
}

}  // namespace pw::dialogs
