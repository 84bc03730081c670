// The desktop's clipboard as the capture load sees it: which offered
// format is taken, and that text alone is no metafile.
#include "platform/clipboard/desktop_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include <memory>

namespace pw::clipboard {
namespace {

std::vector<std::byte> Bytes(const QByteArray& data) {
  std::vector<std::byte> bytes;
  for (char c : data) bytes.push_back(static_cast<std::byte>(c));
  return bytes;
}

class DesktopClipboard : public ::testing::Test {
 protected:
  void Offer(const std::vector<std::pair<QString, QByteArray>>& formats) {
    auto data = std::make_unique<QMimeData>();
    for (const auto& [format, bytes] : formats) data->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(data.release());
  }
  void TearDown() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(DesktopClipboard, WineFormatIsPreferredThenTheMimeTypes) {
  Offer({{"image/x-emf", "x-emf"}, {"image/emf", "emf"}, {"WCF_ENHMETAFILE", "wine"}});
  EXPECT_EQ(ReadDesktopEnhMetafile(), Bytes("wine"));
  Offer({{"image/x-emf", "x-emf"}, {"image/emf", "emf"}});
  EXPECT_EQ(ReadDesktopEnhMetafile(), Bytes("emf"));
  Offer({{"text/plain", "words"}, {"image/x-emf", "x-emf"}});
  EXPECT_EQ(ReadDesktopEnhMetafile(), Bytes("x-emf"));
}

TEST_F(DesktopClipboard, TextImagesAndEmptyOffersAreNoMetafile) {
  QGuiApplication::clipboard()->setText(QStringLiteral("Only words"));
  EXPECT_EQ(ReadDesktopEnhMetafile(), tl::unexpected(ClipboardProblem::Empty));
  Offer({{"image/png", "\x89PNG"}, {"image/emf", ""}});
  EXPECT_EQ(ReadDesktopEnhMetafile(), tl::unexpected(ClipboardProblem::Empty));
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(ReadDesktopEnhMetafile(), tl::unexpected(ClipboardProblem::Empty));
}

}  // namespace
}  // namespace pw::clipboard
