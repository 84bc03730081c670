// Faces matched through fontconfig: the dialog font is Wine's
// "MS Sans Serif" 8, drawn by Qt in that face with the base units the
// dialog templates are laid out in, and other faces get fontconfig's own
// choice.
#include "platform/fonts/dialog_font.h"
#include "platform/fonts/face_match.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>

#include <cmath>

#include <gtest/gtest.h>

namespace pw::platform {
namespace {

TEST(DialogFont, IsMsSansSerifEightWithTheTemplatesBaseUnits) {
  const std::optional<FaceMatch> match = MatchFace(QStringLiteral("MS Sans Serif"), 8.0);
  ASSERT_TRUE(match.has_value());
  EXPECT_EQ(match->family, "MS Sans Serif");  // from fonts-wine, a dependency
  EXPECT_EQ(std::lround(match->pixel_size), 13);

  const QFont font = DialogFont();
  const QFontInfo info(font);
  EXPECT_EQ(info.family(), "MS Sans Serif");  // Qt draws the face itself, not a stand-in
  EXPECT_EQ(info.pixelSize(), 13);
  // Base units as the dialog manager measures them: the mean width of the
  // 52 letters, rounded, and the font's height.
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ((letters / 26 + 1) / 2, 6);
  EXPECT_EQ(metrics.height(), 13);
}

TEST(FaceMatch, OtherFacesGetFontconfigsChoice) {
  // fontconfig's metric aliases stand in for the Microsoft core faces.
  const std::optional<FaceMatch> arial = MatchFace(QStringLiteral("Arial"), 10.0);
  ASSERT_TRUE(arial.has_value());
  EXPECT_EQ(arial->family, "Liberation Sans");
  EXPECT_NEAR(arial->pixel_size, 10.0 * 96 / 72, 0.01);

  const std::optional<FaceMatch> unknown = MatchFace(QStringLiteral("No Such Face Anywhere"), 8.0);
  ASSERT_TRUE(unknown.has_value());
  EXPECT_FALSE(unknown->family.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(unknown->file));
}

}  // namespace
}  // namespace pw::platform
