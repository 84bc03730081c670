// The hatch settings dialog: the working copy it starts from, what OK
// stores and in which order, typed values beyond the arrows' ranges, the
// swatches, the live preview and the face colour around it.
#include "dialogs/hatch_dlg.h"

#include <QApplication>
#include <QTest>

#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "settings/settings_store.h"

namespace pw::dialogs {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using settings::Settings;

std::vector<std::string> StoredNames() {
  std::vector<std::string> names;
  for (const registry::Value& value :
       registry::Values(registry::Hive::CurrentUser, settings::kUserKey).value_or(std::vector<registry::Value>{}))
    names.push_back(value.name);
  return names;
}

QRgb Rgb(settings::Colorref c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class HatchDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() { settings::Update([](Settings& s) { s = Settings{}; }); }
};

TEST_F(HatchDialogTest, AnyShownStyleOpensTickedAndOkStoresTheLineHatch) {
  settings::Update([](Settings& s) { s.lvBkGrHathStyle = 99; });
  {
    lvSetHatchDlg dialog(nullptr, settings::Snapshot());
    EXPECT_TRUE(dialog.showBackgroundBox().isChecked());
    dialog.open();
    QTest::mouseClick(&dialog.cancelButton(), Qt::LeftButton);
  }
  EXPECT_EQ(settings::Snapshot().lvBkGrHathStyle, 99);
  EXPECT_THAT(StoredNames(), IsEmpty());

  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  dialog.open();
  QTest::mouseClick(&dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(settings::Snapshot().lvBkGrHathStyle, 4);
  EXPECT_THAT(StoredNames(), ElementsAre("lvBkGrHathStyle"));
  EXPECT_EQ(settings::ReadUserDword("lvBkGrHathStyle"), 4);
}

TEST_F(HatchDialogTest, OkWithoutChangesStoresNothing) {
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  EXPECT_FALSE(dialog.showBackgroundBox().isChecked());  // style 100
  dialog.open();
  QTest::mouseClick(&dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_THAT(StoredNames(), IsEmpty());
}

TEST_F(HatchDialogTest, ChangedValuesAreStoredInTheirOrder) {
  settings::Update([](Settings& s) { s.lvBkGrHathStyle = 4; });
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  dialog.setColorChooser([](QWidget*, const QColor&) { return QColor(10, 20, 30); });
  dialog.open();
  QTest::mouseClick(&dialog.verticalBox(), Qt::LeftButton);
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(20, 45));  // hatch swatch
  QTest::mouseClick(&dialog.upDown(kHatchAngleUpDown).upButton(), Qt::LeftButton);
  dialog.edit(kHatchWidthEdit).selectAll();
  QTest::keyClicks(&dialog.edit(kHatchWidthEdit), "3");
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(10, 10));  // background swatch, its corner
  QTest::mouseClick(&dialog.showBackgroundBox(), Qt::LeftButton);  // off: stored as 100
  QTest::mouseClick(&dialog.okButton(), Qt::LeftButton);

  EXPECT_THAT(StoredNames(), ElementsAre("lvBkGrHathStyle", "lvHatchColor", "lvCurBkGrColor", "lvHatchWidth",
                                         "lvHatchAngle", "lvHatchLnVert"));
  const Settings s = settings::Snapshot();
  EXPECT_EQ(s.lvBkGrHathStyle, 100);
  EXPECT_EQ(s.lvHatchColor, 0x001E140Au);
  EXPECT_EQ(s.lvCurBkGrColor, 0x001E140Au);
  EXPECT_EQ(s.lvHatchWidth, 3);
  EXPECT_EQ(s.lvHatchAngle, 1);
  EXPECT_FALSE(s.lvHatchLnVert);
  EXPECT_EQ(settings::ReadUserDword("lvHatchLnVert"), 0);
}

TEST_F(HatchDialogTest, TypedValuesBeyondTheArrowRangesAreTakenAsTheyAre) {
  settings::Update([](Settings& s) {
    s.lvBkGrHathStyle = 4;
    s.lvHatchDepress = 250;  // stored beyond the arrows' range
  });
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  EXPECT_EQ(dialog.edit(kHatchSpacingEdit).text(), "250");
  dialog.open();
  dialog.edit(kHatchAngleEdit).selectAll();
  QTest::keyClicks(&dialog.edit(kHatchAngleEdit), "135");
  dialog.edit(kHatchWidthEdit).selectAll();
  QTest::keyClicks(&dialog.edit(kHatchWidthEdit), "-2");
  EXPECT_EQ(dialog.model().Working().angle, 135);
  EXPECT_EQ(dialog.model().Working().width, -2);
  // The arrows start from the field limited to their range.
  QTest::mouseClick(&dialog.upDown(kHatchSpacingUpDown).downButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.edit(kHatchSpacingEdit).text(), "99");
  EXPECT_EQ(dialog.model().Working().spacing, 99);
  QTest::mouseClick(&dialog.okButton(), Qt::LeftButton);
  const Settings s = settings::Snapshot();
  EXPECT_EQ(s.lvHatchAngle, 135);
  EXPECT_EQ(s.lvHatchWidth, -2);
  EXPECT_EQ(s.lvHatchDepress, 99);
}

TEST_F(HatchDialogTest, WithoutBackgroundTheSwatchesIgnoreClicksButThePreviewShowsThePattern) {
  settings::Update([](Settings& s) { s.lvHatchWidth = 1; });
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  int asked = 0;
  dialog.setColorChooser([&asked](QWidget*, const QColor&) {
    ++asked;
    return QColor(Qt::red);
  });
  dialog.show();
  EXPECT_FALSE(dialog.edit(kHatchWidthEdit).isEnabled());
  EXPECT_FALSE(dialog.verticalBox().isEnabled());
  EXPECT_TRUE(dialog.upDown(kHatchWidthUpDown).isEnabled());
  EXPECT_TRUE(dialog.showBackgroundBox().isEnabled());
  QTest::mouseMove(&dialog, QPoint(20, 20));
  EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(asked, 0);

  const QImage preview = dialog.previewImage();
  std::set<QRgb> colours;
  for (int x = 0; x < preview.width(); ++x) colours.insert(preview.pixel(x, 40) | 0xFF000000u);
  EXPECT_TRUE(colours.contains(Rgb(Settings{}.lvHatchColor)));
  EXPECT_TRUE(colours.contains(Rgb(Settings{}.lvCurBkGrColor)));

  QTest::mouseClick(&dialog.showBackgroundBox(), Qt::LeftButton);
  EXPECT_TRUE(dialog.edit(kHatchWidthEdit).isEnabled());
  QTest::mouseMove(&dialog, QPoint(40, 30));  // the swatch's far corner
  EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(dialog.model().Working().background_color, 0x000000FFu);
}

TEST_F(HatchDialogTest, CancelledColourChooserKeepsTheColour) {
  settings::Update([](Settings& s) { s.lvBkGrHathStyle = 4; });
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  QColor offered;
  dialog.setColorChooser([&offered](QWidget*, const QColor& initial) -> std::optional<QColor> {
    offered = initial;
    return std::nullopt;
  });
  dialog.show();
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(12, 12));
  EXPECT_EQ(offered, QColor(128, 255, 128));
  EXPECT_EQ(dialog.model().Working().background_color, Settings{}.lvCurBkGrColor);
}

TEST_F(HatchDialogTest, PreviewFollowsTheFamiliesAndTheSpacing) {
  settings::Update([](Settings& s) {
    s.lvBkGrHathStyle = 4;
    s.lvHatchWidth = 1;
    s.lvHatchDepress = 10;
    s.lvHatchLnHor = false;
  });
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  const QRgb hatch = Rgb(Settings{}.lvHatchColor);
  // Angle 0, vertical lines only: every row alike, a line every 10 pixels.
  const QImage preview = dialog.previewImage();
  ASSERT_EQ(preview.size(), lvSetHatchDlg::kPreview.size());
  std::vector<int> columns;
  for (int x = 0; x < preview.width(); ++x) {
    if ((preview.pixel(x, 5) | 0xFF000000u) == hatch) columns.push_back(x);
    EXPECT_EQ(preview.pixel(x, 5), preview.pixel(x, 150)) << x;
  }
  ASSERT_GE(columns.size(), 10u);
  for (std::size_t i = 1; i < columns.size(); ++i) EXPECT_EQ(columns[i] - columns[i - 1], 10);

  QTest::mouseClick(&dialog.verticalBox(), Qt::LeftButton);
  const QImage empty = dialog.previewImage();
  for (int y = 0; y < empty.height(); y += 7)
    for (int x = 0; x < empty.width(); x += 5)
      ASSERT_EQ(empty.pixel(x, y) | 0xFF000000u, Rgb(Settings{}.lvCurBkGrColor)) << x << "," << y;
}

// Around the preview the client area shows the dialog's face colour, the
// one the first paint of the run found at (5, 10); the preview keeps its
// pattern and its blue frame.
TEST_F(HatchDialogTest, FaceColourSurroundsThePreviewAndIsSampledOncePerRun) {
  settings::Update([](Settings& s) { s.lvBkGrHathStyle = 4; });
  const QColor face = QApplication::palette().color(QPalette::Window);
  lvSetHatchDlg first(nullptr, settings::Snapshot());
  first.show();
  const QImage shown = first.grab().toImage();
  EXPECT_EQ(first.faceColor(), face);
  const QRect p = lvSetHatchDlg::kPreview;
  for (const QPoint at : {QPoint(5, 10), QPoint(p.right() + 3, 100), QPoint(200, p.bottom() + 2),
                          QPoint(p.left() - 2, 60), QPoint(200, p.top() - 2)})
    EXPECT_EQ(shown.pixelColor(at), face) << at.x() << "," << at.y();
  EXPECT_EQ(shown.pixelColor(p.topLeft()), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(p.bottomRight()), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(p.center()).rgb(), first.previewImage().pixelColor(p.center() - p.topLeft()).rgb());

  // A later dialog keeps the colour sampled first, whatever its own face.
  lvSetHatchDlg second(nullptr, settings::Snapshot());
  QPalette red = second.palette();
  red.setColor(QPalette::Window, Qt::red);
  second.setPalette(red);
  second.show();
  EXPECT_EQ(second.faceColor(), face);
  EXPECT_EQ(second.grab().toImage().pixelColor(p.right() + 3, 100), face);
}

TEST_F(HatchDialogTest, LooksAsItsTemplateSays) {
  lvSetHatchDlg dialog(nullptr, settings::Snapshot());
  EXPECT_EQ(dialog.windowTitle(), "Hatch Settings");
  EXPECT_EQ(dialog.okButton().text(), "OK");
  EXPECT_TRUE(dialog.okButton().isDefault());
  EXPECT_EQ(dialog.helpButton().text(), "Help");
  EXPECT_EQ(dialog.horizontalBox().text(), "Horizontal lines");
  EXPECT_EQ(dialog.showBackgroundBox().text(), "show background");
  EXPECT_EQ(dialog.upDown(kHatchAngleUpDown).geometry().topLeft(), QPoint(56, 206));
}

}  // namespace
}  // namespace pw::dialogs
