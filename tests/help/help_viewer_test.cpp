// The help window on the built help file, offscreen.
#include "platform/help/viewer/help_window.h"
#include "tests/support/test_home.h"

#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <gtest/gtest.h>

namespace pw::platform {
namespace {

std::string HelpFilePath() { return (test::BuildDir() / "share/pagewick/Snaplet.chm").string(); }

// The names of the pictures the shown page places.
std::vector<QString> PictureNames(const QTextDocument& document) {
  std::vector<QString> names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isImageFormat()) names.push_back(format.toImageFormat().name());
    }
  }
  return names;
}

TEST(HelpWindow, OpensTheStartPageWithTheContentsBeside) {
  HelpWindow window;
  ASSERT_TRUE(window.openFile(HelpFilePath()));
  window.showTopic({});
  EXPECT_EQ(window.currentTopic(), "/index.htm");
  EXPECT_EQ(window.browser().documentTitle(), "Pagewick Help");
  EXPECT_EQ(window.windowTitle(), "Pagewick Help");
  EXPECT_TRUE(window.browser().toPlainText().contains("Welcome to Pagewick"));

  const QTreeWidget& contents = window.contents();
  ASSERT_GE(contents.topLevelItemCount(), 4);
  EXPECT_EQ(contents.topLevelItem(0)->text(0), "Welcome to Pagewick");
  // The command panel's pages hang below their heading.
  QList<QTreeWidgetItem*> panel = contents.findItems("Command Panel", Qt::MatchExactly);
  ASSERT_EQ(panel.size(), 1);
  EXPECT_EQ(panel[0]->childCount(), 7);
}

TEST(HelpWindow, ATopicOpensAtItsPageAndLinksLeadToOtherTopics) {
  HelpWindow window;
  ASSERT_TRUE(window.openFile(HelpFilePath()));
  window.showTopic("/dim.htm");
  EXPECT_EQ(window.currentTopic(), "/dim.htm");
  EXPECT_EQ(window.browser().documentTitle(), "Image Resolution and Dimension");

  window.followLink(QUrl("options.htm"));
  EXPECT_EQ(window.currentTopic(), "/options.htm");
  EXPECT_EQ(window.browser().documentTitle(), "Image Format and Quality");
  window.followLink(QUrl("hatch.htm#top"));
  EXPECT_EQ(window.currentTopic(), "/hatch.htm");
  EXPECT_TRUE(window.browser().toPlainText().contains("line spacing"));
}

TEST(HelpWindow, PicturesAndTheStyleSheetComeFromTheHelpFile) {
  HelpWindow window;
  ASSERT_TRUE(window.openFile(HelpFilePath()));
  window.showTopic("/index.htm");
  QTextDocument* document = window.browser().document();
  std::vector<QString> names = PictureNames(*document);
  ASSERT_EQ(names.size(), 2u);
  for (const QString& name : names) {
    // The document keeps a picture it has laid out decoded.
    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (data.userType() == QMetaType::QPixmap)
      image = data.value<QPixmap>().toImage();
    else if (data.userType() == QMetaType::QImage)
      image = data.value<QImage>();
    else
      image.loadFromData(data.toByteArray());
    ASSERT_FALSE(image.isNull()) << name.toStdString() << " " << data.typeName();
    EXPECT_GT(image.width(), 100);
  }
  // The style sheet's heading colour reached the page.
  const QTextBlock heading = document->findBlock(window.browser().toPlainText().indexOf("Welcome"));
  EXPECT_EQ(heading.charFormat().foreground().color(), QColor("#0000af"));
}

TEST(HelpWindow, AMissingTopicSaysSoAndAFileThatCannotBeReadIsRefused) {
  HelpWindow window;
  EXPECT_FALSE(window.openFile((test::HomeDir() / "none.chm").string()));
  ASSERT_TRUE(window.openFile(HelpFilePath()));
  window.showTopic("/gone.htm");
  EXPECT_TRUE(window.browser().toPlainText().contains("The page cannot be displayed"));
  EXPECT_TRUE(window.browser().toPlainText().contains("/gone.htm"));
  // A failed open keeps the file that was showing.
  EXPECT_FALSE(window.openFile((test::HomeDir() / "none.chm").string()));
  window.showTopic("/keys.htm");
  EXPECT_EQ(window.browser().documentTitle(), "Shortcut Keys");
}

}  // namespace
}  // namespace pw::platform
