// The image format sheets: the start page, the output format chosen by the
// page showing at OK, pages that were never opened, the PDF inside format
// and the animation delay.
#include "dialogs/format_sheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace pw::dialogs {
namespace {

using settings::ImageFormatValues;
using settings::OutputFormat;

const std::vector<FormatPage> kFullPages{FormatPage::Jpg, FormatPage::Gif, FormatPage::Png,
                                          FormatPage::Bmp, FormatPage::Tif, FormatPage::Pdf};

ImageFormatValues WithFormat(OutputFormat format) {
  ImageFormatValues v;
  settings::SetWorkingOutputFormat(v, format);
  return v;
}

template <typename W>
W& Control(FormatSheet& sheet, FormatPage page, int id) {
  QWidget* widget = sheet.control(page, id);
  EXPECT_NE(widget, nullptr) << id;
  return *static_cast<W*>(widget);
}

class FormatSheetTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::Update([](settings::Settings& s) { s = settings::Settings{}; }); }
  void TearDown() override { SetUp(); }
};

TEST_F(FormatSheetTest, StartsOnTheOutputFormatAndOkTakesTheShowingPage) {
  FormatSheet sheet(nullptr, "Image Format and Quality", kFullPages, WithFormat(OutputFormat::Png), true);
  sheet.showPage(sheet.model().StartPage());
  EXPECT_EQ(sheet.currentPage(), FormatPage::Png);
  EXPECT_EQ(sheet.tabs().count(), 6);
  EXPECT_EQ(sheet.tabs().tabText(5), "Multipaged PDF");
  EXPECT_EQ(sheet.helpButton().text(), "Help");
  EXPECT_TRUE(sheet.helpButton().isVisible() || !sheet.isVisible());
  sheet.open();
  sheet.showPage(FormatPage::Tif);
  QTest::mouseClick(&sheet.okButton(), Qt::LeftButton);
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
  EXPECT_EQ(settings::WorkingOutputFormat(sheet.model().Values()), OutputFormat::Tif);
  EXPECT_FALSE(sheet.model().Values().PNG_Default);
}

TEST_F(FormatSheetTest, StartPageIsTheLastSetFlagInItsOrder) {
  ImageFormatValues v = WithFormat(OutputFormat::Tif);
  v.GIF_Default = true;
  EXPECT_EQ(FormatSheetModel(v).StartPage(), FormatPage::Gif);
  v.JPG_Default = v.GIF_Default = v.PNG_Default = v.BMP_Default = v.TIF_Default = false;
  EXPECT_EQ(FormatSheetModel(v).StartPage(), FormatPage::Gif);
  EXPECT_EQ(FormatSheetModel(WithFormat(OutputFormat::Bmp)).StartPage(), FormatPage::Bmp);
}

TEST_F(FormatSheetTest, OkOnThePdfPageTakesTheInsideFormat) {
  for (const auto& [stored, format] : {std::pair{"JPG", OutputFormat::Jpg}, {"BMP", OutputFormat::Bmp},
                                       {"TIF", OutputFormat::Tif}, {"XYZ", OutputFormat::Gif}}) {
    ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", stored));
    FormatSheet sheet(nullptr, "Image Format and Quality", kFullPages, WithFormat(OutputFormat::Gif), true);
    sheet.open();
    sheet.showPage(FormatPage::Pdf);
    auto& combo = Control<QComboBox>(sheet, FormatPage::Pdf, 1029);
    EXPECT_EQ(combo.currentIndex(), std::string(stored) == "XYZ" ? -1 : combo.findText(stored)) << stored;
    QTest::mouseClick(&sheet.okButton(), Qt::LeftButton);
    EXPECT_EQ(settings::WorkingOutputFormat(sheet.model().Values()), format) << stored;
  }
}

TEST_F(FormatSheetTest, ShortStoredInsideFormatIsBmpAndAChoiceChangesIt) {
  for (const char* stored : {"", "PN"}) {
    ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", stored));
    FormatSheet sheet(nullptr, "Image Format Options", {FormatPage::Pdf}, {}, false);
    EXPECT_EQ(sheet.model().Values().PDF_Bitmp_Format, "BMP");
    auto& combo = Control<QComboBox>(sheet, FormatPage::Pdf, 1029);
    EXPECT_EQ(combo.currentText(), "BMP");
    EXPECT_EQ(combo.itemText(3), "PNG");
    combo.activated(2);
    EXPECT_EQ(sheet.model().Values().PDF_Bitmp_Format, "TIF");
  }
  // A stored name in other case still finds its item.
  ASSERT_TRUE(settings::WriteUserString("PDF_Bitmp_Format", "png"));
  FormatSheetModel model({});
  model.OpenPage(FormatPage::Pdf);
  EXPECT_EQ(model.PdfItem(), 3);
}

TEST_F(FormatSheetTest, PagesNeverOpenedKeepTheirValues) {
  ImageFormatValues v = WithFormat(OutputFormat::Jpg);
  v.GIF_Colors = 999;
  v.TIF_Colors = 1;
  v.PNG_Dither = true;
  FormatSheet sheet(nullptr, "Image Format and Quality", kFullPages, v, true);
  sheet.open();
  Control<QSlider>(sheet, FormatPage::Jpg, 1005).setValue(55);
  EXPECT_EQ(Control<QLineEdit>(sheet, FormatPage::Jpg, 1008).text(), "55");
  sheet.showPage(FormatPage::Tif);  // opened: its count is limited
  QTest::mouseClick(&sheet.okButton(), Qt::LeftButton);
  const ImageFormatValues& after = sheet.model().Values();
  EXPECT_EQ(after.JPG_Quality, 55);
  EXPECT_EQ(after.GIF_Colors, 999);
  EXPECT_EQ(after.TIF_Colors, 2);
  EXPECT_TRUE(after.PNG_Dither);
  EXPECT_EQ(settings::WorkingOutputFormat(after), OutputFormat::Tif);
}

TEST_F(FormatSheetTest, ColourControlsFollowTheColourType) {
  ImageFormatValues v;
  v.PNG_TrueIndexGray = 0;
  v.TIF_TrueIndexGray = 3;
  FormatSheet sheet(nullptr, "Image Format and Quality", kFullPages, v, true);
  sheet.open();
  sheet.showPage(FormatPage::Png);
  auto& png_slider = Control<QSlider>(sheet, FormatPage::Png, 1005);
  EXPECT_FALSE(png_slider.isEnabled());
  EXPECT_FALSE(Control<QCheckBox>(sheet, FormatPage::Png, 1006).isEnabled());
  QTest::mouseClick(&Control<QRadioButton>(sheet, FormatPage::Png, 1010), Qt::LeftButton);
  EXPECT_TRUE(png_slider.isEnabled());
  EXPECT_EQ(sheet.model().Values().PNG_TrueIndexGray, 1);

  sheet.showPage(FormatPage::Tif);
  auto& tif_slider = Control<QSlider>(sheet, FormatPage::Tif, 1005);
  EXPECT_FALSE(tif_slider.isEnabled());
  QTest::mouseClick(&Control<QRadioButton>(sheet, FormatPage::Tif, 1011), Qt::LeftButton);
  EXPECT_TRUE(tif_slider.isEnabled());
  tif_slider.setValue(100);
  EXPECT_EQ(sheet.model().Values().TIF_Colors, 100);
  QTest::mouseClick(&Control<QRadioButton>(sheet, FormatPage::Tif, 1012), Qt::LeftButton);
  EXPECT_FALSE(tif_slider.isEnabled());
  EXPECT_EQ(sheet.model().Values().TIF_TrueIndexGray, 3);
}

TEST_F(FormatSheetTest, AnimationDelayIsLimited) {
  FormatSheet sheet(nullptr, "Image Format Options", {FormatPage::AnimatedGif}, {}, false);
  sheet.open();
  auto& edit = Control<QLineEdit>(sheet, FormatPage::AnimatedGif, 1023);
  EXPECT_EQ(edit.text(), "100");
  for (const auto& [typed, delay] : {std::pair{"7000", 6000}, {"-5", 0}, {"250", 250}}) {
    edit.selectAll();
    QTest::keyClicks(&edit, typed);
    EXPECT_EQ(sheet.model().Values().GIF_Delay, delay) << typed;
  }
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(edit.text(), "251");
  EXPECT_EQ(sheet.model().Values().GIF_Delay, 251);
  EXPECT_FALSE(sheet.helpButton().isVisibleTo(&sheet));
}

// Presses OK of the modal sheet once it is up, after `edit`.
void OkWhenShown(const std::function<void(FormatSheet&)>& edit) {
  QTimer::singleShot(0, [edit] {
    auto* sheet = dynamic_cast<FormatSheet*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr);
    edit(*sheet);
    sheet->okButton().click();
  });
}

TEST_F(FormatSheetTest, SingleFormatSheetStoresTheOutputFormatsValuesOnly) {
  settings::MakeOutputFormat(OutputFormat::Gif);
  OkWhenShown([](FormatSheet& sheet) {
    EXPECT_EQ(sheet.tabs().count(), 1);
    EXPECT_EQ(sheet.windowTitle(), "Image Format Options");
    Control<QSlider>(sheet, FormatPage::Gif, 1005).setValue(16);
  });
  EXPECT_TRUE(RunSingleFormatSheet(nullptr));
  EXPECT_EQ(settings::Snapshot().GIF_Colors, 16);
  EXPECT_EQ(settings::ReadUserDword("GIF_Colors"), 16);
  EXPECT_EQ(settings::ReadUserDword("GIF_Delay"), 100);  // written again unchanged
  EXPECT_EQ(settings::ReadUserDword("JPG_Quality"), -1);

  // BMP has no options: nothing is shown, nothing changes.
  settings::MakeOutputFormat(OutputFormat::Bmp);
  EXPECT_FALSE(RunSingleFormatSheet(nullptr));
}

TEST_F(FormatSheetTest, FullSheetRunKeepsTheUsersValues) {
  ImageFormatValues values = WithFormat(OutputFormat::Jpg);
  OkWhenShown([](FormatSheet& sheet) {
    EXPECT_EQ(sheet.currentPage(), FormatPage::Jpg);
    QTest::mouseClick(&Control<QCheckBox>(sheet, FormatPage::Jpg, 1007), Qt::LeftButton);
    sheet.showPage(FormatPage::Gif);
  });
  ASSERT_TRUE(RunFullFormatSheet(nullptr, values));
  EXPECT_TRUE(values.JPG_Gray);
  EXPECT_EQ(settings::WorkingOutputFormat(values), OutputFormat::Gif);

  // The extra sheet's PDF page stores its choice only after OK.
  OkWhenShown([](FormatSheet& sheet) { Control<QComboBox>(sheet, FormatPage::Pdf, 1029).activated(1); });
  ASSERT_TRUE(RunExtraFormatSheet(nullptr, 2));
  EXPECT_EQ(settings::ReadUserString("PDF_Bitmp_Format"), "JPG");
}

}  // namespace
}  // namespace pw::dialogs
