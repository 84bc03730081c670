// The resolution and dimension dialog: its recomputations in both
// directions, the limits of typed values, and what OK and Cancel hand back.
#include "dialogs/resolution_dlg.h"

#include <cmath>

#include <QTest>

#include <gtest/gtest.h>

namespace pw::dialogs {
namespace {

// An A4 page, 96-dpi display, 300-dpi printer, 80 dpi user-defined.
ResolutionInputs A4(int choice = 2, double custom = 80.0, int scale = 100) {
  ResolutionInputs in;
  in.choice = choice;
  in.custom_resolution = custom;
  in.scale = scale;
  in.current_resolution = choice == 0 ? 96.0 : choice == 1 ? 300.0 : custom;
  return in;
}

TEST(ResolutionModel, OpensWithTheSizesOfThePageAtTheCurrentResolution) {
  const ResolutionModel m(A4());
  EXPECT_EQ(m.Text(kResDisplayEdit), "96");
  EXPECT_EQ(m.Text(kResPrinterEdit), "300");
  EXPECT_EQ(m.Text(kResUserEdit), "80");
  EXPECT_EQ(m.Text(kResWidthMmEdit), "210");
  EXPECT_EQ(m.Text(kResHeightMmEdit), "297");
  EXPECT_EQ(m.Text(kResWidthPxEdit), "662");   // ceil(80 x 210 / 25.4)
  EXPECT_EQ(m.Text(kResHeightPxEdit), "936");
  EXPECT_EQ(m.Text(kResScaleEdit), "100");
  EXPECT_EQ(m.SelectedRadio(), 2);
  EXPECT_TRUE(m.UserDefinedEnabled());
  // The printer's resolution bounds the user-defined one and the pixels.
  EXPECT_EQ(m.UpDown(kResUserUpDown).maximum, 300);
  EXPECT_EQ(m.UpDown(kResWidthPxUpDown).maximum, 2481);
  EXPECT_EQ(m.UpDown(kResScaleUpDown).minimum, 1);
  EXPECT_EQ(m.UpDown(kResScaleUpDown).maximum, 300);
  const settings::ResolutionResult r = m.Result();
  EXPECT_EQ(r.choice, 2);
  EXPECT_DOUBLE_EQ(r.resolution, 80.0);
  EXPECT_EQ(r.scale, 100);
}

TEST(ResolutionModel, DisplayOrPrinterChoiceHandsBackThatResolution) {
  const ResolutionModel display(A4(0, 150.0));
  EXPECT_FALSE(display.UserDefinedEnabled());
  EXPECT_EQ(display.SelectedRadio(), 0);
  EXPECT_EQ(display.Text(kResUserEdit), "150");
  EXPECT_DOUBLE_EQ(display.Result().resolution, 96.0);

  ResolutionModel m(A4());
  m.ClickRadio(1);
  EXPECT_EQ(m.Result().choice, 1);
  EXPECT_DOUBLE_EQ(m.Result().resolution, 300.0);
  EXPECT_FALSE(m.UserDefinedEnabled());
  EXPECT_EQ(m.Text(kResWidthPxEdit), "2481");
  m.ClickRadio(2);
  EXPECT_DOUBLE_EQ(m.Result().resolution, 80.0);
  EXPECT_EQ(m.Text(kResWidthPxEdit), "662");
}

TEST(ResolutionModel, APixelArrowUnderDisplaySwitchesToUserDefined) {
  ResolutionModel m(A4(0));
  EXPECT_EQ(m.Text(kResWidthPxEdit), "794");
  m.Step(kResWidthPxUpDown, 1);
  EXPECT_EQ(m.Text(kResWidthPxEdit), "795");
  EXPECT_EQ(m.SelectedRadio(), 2);
  EXPECT_TRUE(m.UserDefinedEnabled());
  const double r = 795 / (210 * 0.03937007874015748);
  EXPECT_DOUBLE_EQ(m.Result().resolution, r);
  EXPECT_EQ(m.Result().choice, 2);
  EXPECT_EQ(m.Text(kResUserEdit), std::to_string(static_cast<int>(r)));
  EXPECT_EQ(m.Text(kResHeightPxEdit), std::to_string(static_cast<int>(std::ceil(297 * r * 0.03937007874015748))));
}

TEST(ResolutionModel, ScaleAndMillimetreArrowsRecomputeEachOther) {
  ResolutionModel m(A4());
  m.Step(kResScaleUpDown, -1);
  EXPECT_EQ(m.Result().scale, 99);
  EXPECT_EQ(m.Text(kResWidthMmEdit), "208");   // ceil(207.9)
  EXPECT_EQ(m.Text(kResHeightMmEdit), "295");  // ceil(294.03)
  EXPECT_EQ(m.Text(kResWidthPxEdit), "656");   // from the 208 mm shown
  // Up from 100 %, the millimetres stop at the page's own size.
  m.Step(kResScaleUpDown, 1);
  m.Step(kResScaleUpDown, 1);
  EXPECT_EQ(m.Result().scale, 101);
  EXPECT_EQ(m.Text(kResWidthMmEdit), "210");

  ResolutionModel mm(A4());
  mm.Step(kResWidthMmUpDown, -1);
  EXPECT_EQ(mm.Text(kResWidthMmEdit), "209");
  EXPECT_EQ(mm.Result().scale, 100);  // ceil(99.52)
  EXPECT_EQ(mm.Text(kResScaleEdit), "100");
  EXPECT_EQ(mm.Text(kResHeightMmEdit), "297");
  EXPECT_EQ(mm.Text(kResWidthPxEdit), "659");
  for (int i = 0; i < 60; ++i) mm.Step(kResHeightMmUpDown, -1);
  EXPECT_EQ(mm.Text(kResHeightMmEdit), "237");
  EXPECT_EQ(mm.Result().scale, 80);  // ceil(79.8)
  EXPECT_EQ(mm.Text(kResWidthMmEdit), "168");
}

TEST(ResolutionModel, SevenPercentOfAHundredMillimetresShowsEight) {
  ResolutionInputs in = A4(2, 80.0, 7);
  in.width_mm = 100;
  const ResolutionModel m(in);
  EXPECT_EQ(m.Text(kResWidthMmEdit), "8");
}

TEST(ResolutionModel, TypedValuesAreLimitedAndRecomputeNothing) {
  ResolutionModel m(A4());
  m.Type(kResUserEdit, "0");
  EXPECT_DOUBLE_EQ(m.Result().resolution, 1.0);
  m.Type(kResUserEdit, "5000");
  EXPECT_DOUBLE_EQ(m.Result().resolution, 300.0);
  EXPECT_EQ(m.Text(kResUserEdit), "5000");  // stays as typed
  EXPECT_EQ(m.Text(kResWidthPxEdit), "662");

  for (const auto& [typed, scale] : {std::pair{"0", 1}, {"-4", 1}, {"301", 300}, {"abc", 1}, {" 55 ", 55}}) {
    m.Type(kResScaleEdit, typed);
    EXPECT_EQ(m.Result().scale, scale) << typed;
  }
  EXPECT_EQ(m.Text(kResWidthMmEdit), "210");
  m.Type(kResWidthMmEdit, "700");
  EXPECT_EQ(m.Result().scale, 300);
  m.Type(kResHeightMmEdit, "0");
  EXPECT_EQ(m.Result().scale, 1);
  EXPECT_EQ(m.Text(kResScaleEdit), " 55 ");
}

TEST(ResolutionModel, TypedPixelsDeriveAnUnlimitedResolution) {
  ResolutionModel m(A4(1));
  m.Type(kResWidthPxEdit, "4134");
  EXPECT_EQ(m.Result().choice, 2);
  EXPECT_NEAR(m.Result().resolution, 500.0, 0.05);  // above the printer's 300
  EXPECT_TRUE(m.UserDefinedEnabled());
  EXPECT_EQ(m.SelectedRadio(), 1);  // the radio buttons stay
  EXPECT_EQ(m.Text(kResHeightPxEdit), "3508");
  EXPECT_EQ(m.UpDown(kResWidthPxUpDown).position, 2481);  // limited to the range
}

TEST(ResolutionModel, ResolutionStaysPositiveAndFinite) {
  ResolutionModel m(A4());
  m.Type(kResWidthMmEdit, "0");
  m.Type(kResWidthPxEdit, "500");  // 500 pixels over 0 mm
  EXPECT_TRUE(std::isfinite(m.Result().resolution));
  EXPECT_DOUBLE_EQ(m.Result().resolution, 80.0);
  m.Step(kResWidthPxUpDown, 1);
  EXPECT_DOUBLE_EQ(m.Result().resolution, 80.0);
  m.Type(kResWidthMmEdit, "210");
  m.Type(kResWidthPxEdit, "1");  // a tenth of a dpi
  EXPECT_DOUBLE_EQ(m.Result().resolution, 1.0);

  // A zero typed into the user-defined field is not taken by its radio.
  ResolutionModel radio(A4());
  radio.Type(kResUserEdit, "0");
  radio.ClickRadio(0);
  radio.ClickRadio(2);
  EXPECT_DOUBLE_EQ(radio.Result().resolution, 1.0);

  ResolutionInputs no_page = A4();
  no_page.width_mm = 0;
  no_page.height_mm = 0;
  ResolutionModel empty(no_page);
  empty.Step(kResWidthMmUpDown, 1);
  EXPECT_GE(empty.Result().scale, 1);
}

TEST(ResolutionModel, PixelRangesStayWithinSixteenBits) {
  ResolutionInputs poster = A4();
  poster.width_mm = 3000;
  poster.printer_dpi = 2400;
  const ResolutionModel m(poster);
  EXPECT_EQ(m.UpDown(kResWidthPxUpDown).maximum, 32767);
  EXPECT_EQ(m.Text(kResWidthPxEdit), "9449");
}

TEST(ResolutionModel, ArrowsHoldTheRangeAndReadTheField) {
  ResolutionModel m(A4(2, 299.0));
  m.Step(kResUserUpDown, 1);
  m.Step(kResUserUpDown, 1);
  EXPECT_EQ(m.Text(kResUserEdit), "300");
  EXPECT_DOUBLE_EQ(m.Result().resolution, 300.0);
  m.Type(kResUserEdit, "120");
  m.Step(kResUserUpDown, -1);
  EXPECT_EQ(m.Text(kResUserEdit), "119");
  EXPECT_EQ(m.Text(kResWidthPxEdit), "984");  // ceil(119 x 210 / 25.4)
  // Disabled with Display chosen.
  m.ClickRadio(0);
  m.Step(kResUserUpDown, 1);
  EXPECT_EQ(m.Text(kResUserEdit), "119");
}

TEST(ResolutionDialog, LooksAsItsTemplateSays) {
  lvResolutionDlg dialog(nullptr, A4(0));
  EXPECT_EQ(dialog.windowTitle(), "Image Resolution and Dimension");
  EXPECT_EQ(dialog.okButton().text(), "OK");
  EXPECT_TRUE(dialog.okButton().isDefault());
  EXPECT_EQ(dialog.helpButton().text(), "Help");
  EXPECT_EQ(dialog.radio(2).text(), "User-defined");
  EXPECT_TRUE(dialog.radio(0).isChecked());
  EXPECT_FALSE(dialog.radio(2).isChecked());
  EXPECT_FALSE(dialog.edit(kResUserEdit).isEnabled());
  EXPECT_TRUE(dialog.edit(kResDisplayEdit).isReadOnly());
  EXPECT_EQ(dialog.edit(kResWidthPxEdit).alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  // Positions in dialog units of the 8-point font.
  EXPECT_EQ(dialog.okButton().geometry(), QRect(11, 249, 75, 23));
}

TEST(ResolutionDialog, ControlsDriveTheModelAndCancelDropsIt) {
  lvResolutionDlg dialog(nullptr, A4(0));
  dialog.open();
  QTest::mouseClick(&dialog.upDown(kResWidthPxUpDown).upButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.edit(kResWidthPxEdit).text(), "795");
  EXPECT_TRUE(dialog.radio(2).isChecked());
  EXPECT_FALSE(dialog.radio(0).isChecked());
  EXPECT_TRUE(dialog.edit(kResUserEdit).isEnabled());
  EXPECT_EQ(dialog.edit(kResUserEdit).text(), "96");

  QTest::mouseClick(&dialog.radio(1), Qt::LeftButton);
  EXPECT_TRUE(dialog.radio(1).isChecked());
  EXPECT_FALSE(dialog.radio(2).isChecked());
  EXPECT_EQ(dialog.edit(kResWidthPxEdit).text(), "2481");

  dialog.edit(kResScaleEdit).selectAll();
  QTest::keyClicks(&dialog.edit(kResScaleEdit), "50");
  EXPECT_EQ(dialog.result().scale, 50);
  EXPECT_EQ(dialog.edit(kResWidthMmEdit).text(), "210");  // typing recomputes nothing
  QTest::keyClick(&dialog.edit(kResScaleEdit), Qt::Key_Down);  // the arrow keys step
  EXPECT_EQ(dialog.edit(kResScaleEdit).text(), "49");
  EXPECT_EQ(dialog.edit(kResWidthMmEdit).text(), "103");  // ceil(102.9)

  QTest::mouseClick(&dialog.cancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.QDialog::result(), QDialog::Rejected);
}

}  // namespace
}  // namespace pw::dialogs
