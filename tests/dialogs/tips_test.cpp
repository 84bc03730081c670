// The tip rotation and which tip a stored number shows.
#include "dialogs/tips.h"

#include <gtest/gtest.h>

namespace pw::dialogs {
namespace {

TEST(Tips, RotationGoesRoundTheSixTips) {
  EXPECT_EQ(NextTipNumber(-1), 1);  // absent
  EXPECT_EQ(NextTipNumber(-7), 1);
  for (int n = 0; n <= 4; ++n) EXPECT_EQ(NextTipNumber(n), n + 1);
  EXPECT_EQ(NextTipNumber(5), 0);
  EXPECT_EQ(NextTipNumber(6), 0);
  EXPECT_EQ(NextTipNumber(1000000), 0);
}

TEST(Tips, StoredNumberOutsideTheTipsShowsTheFirst) {
  EXPECT_EQ(TipToShow(-1), 0);
  EXPECT_EQ(TipToShow(0), 0);
  EXPECT_EQ(TipToShow(5), 5);
  EXPECT_EQ(TipToShow(6), 0);
  EXPECT_EQ(TipToShow(-2147483647 - 1), 0);
  EXPECT_EQ(TipToShow(2147483647), 0);
}

TEST(Tips, EveryTipOpensWithThreeSpacesAndKeepsItsDoubleSpaces) {
  const auto& tips = TipTexts();
  for (std::string_view tip : tips) {
    EXPECT_EQ(tip.substr(0, 3), "   ");
    EXPECT_NE(tip[3], ' ');
    // Paragraphs are separated by an empty line and open like the first.
    for (std::size_t at = tip.find("\n\n"); at != std::string_view::npos;
         at = tip.find("\n\n", at + 2)) {
      EXPECT_EQ(tip.substr(at + 2, 3), "   ") << tip;
    }
  }
  EXPECT_NE(tips[1].find("MS Word  into"), std::string_view::npos);
  EXPECT_NE(tips[1].find("with  Pagewick."), std::string_view::npos);
  EXPECT_NE(tips[2].find("lot of  hidden"), std::string_view::npos);
  EXPECT_NE(tips[4].find("For  special"), std::string_view::npos);
  EXPECT_NE(tips[0].find("\n   F3     - Preset Text/Graphics\n"), std::string_view::npos);
}

}  // namespace
}  // namespace pw::dialogs
