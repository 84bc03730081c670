#include "about/about_rules.h"
#include "platform/registry/registry.h"

#include <gtest/gtest.h>

namespace pw::about {
namespace {

using registry::Hive;
using registry::ValueType;

TEST(AboutHover, MovingFromTheMailLinkStraightOntoTheWebLinkSwitchesTheUnderlineInOneMove) {
  HoverOutcome outcome = HoverRule(LinkHit::Web, {.web = false, .mail = true});
  EXPECT_EQ(outcome.highlight, (LinkHighlight{.web = true, .mail = false}));
  EXPECT_EQ(outcome.web_font, FontChange::ToHover);
  EXPECT_EQ(outcome.mail_font, FontChange::ToLink);
  EXPECT_TRUE(outcome.hand_cursor);

  outcome = HoverRule(LinkHit::Mail, outcome.highlight);
  EXPECT_EQ(outcome.highlight, (LinkHighlight{.web = false, .mail = true}));
  EXPECT_EQ(outcome.web_font, FontChange::ToLink);
  EXPECT_EQ(outcome.mail_font, FontChange::ToHover);
}

TEST(AboutHover, FontsChangeOnlyWhenAHighlightChanges) {
  // Staying on a link: already highlighted, nothing is set again.
  HoverOutcome still = HoverRule(LinkHit::Web, {.web = true, .mail = false});
  EXPECT_EQ(still.web_font, FontChange::None);
  EXPECT_EQ(still.mail_font, FontChange::None);
  EXPECT_TRUE(still.hand_cursor);

  // Leaving: the arrow, and only the lit link goes back.
  HoverOutcome away = HoverRule(LinkHit::None, {.web = false, .mail = true});
  EXPECT_FALSE(away.hand_cursor);
  EXPECT_EQ(away.highlight, LinkHighlight{});
  EXPECT_EQ(away.web_font, FontChange::None);
  EXPECT_EQ(away.mail_font, FontChange::ToLink);

  HoverOutcome nowhere = HoverRule(LinkHit::None, {});
  EXPECT_EQ(nowhere.web_font, FontChange::None);
  EXPECT_EQ(nowhere.mail_font, FontChange::None);
}

TEST(AboutHover, TheWebLinkIsTestedFirstAndWinsWhereTheyOverlap) {
  const QRect web(100, 200, 150, 14);
  const QRect mail(100, 210, 150, 14);
  EXPECT_EQ(HitTest({120, 205}, web, mail), LinkHit::Web);
  EXPECT_EQ(HitTest({120, 212}, web, mail), LinkHit::Web);  // in both
  EXPECT_EQ(HitTest({120, 220}, web, mail), LinkHit::Mail);
  EXPECT_EQ(HitTest({99, 205}, web, mail), LinkHit::None);
  EXPECT_EQ(HitTest({250, 205}, web, mail), LinkHit::None);  // one past the right edge
}

TEST(AboutPress, ALinkOpensItsFixedFormAndClosesTheBoxAnythingElseWaitsForTheRelease) {
  PressOutcome mail = PressRule(LinkHit::Mail, "www.example.org", "help@example.org");
  EXPECT_EQ(mail.open, "mailto:help@example.org");
  EXPECT_TRUE(mail.close);
  PressOutcome web = PressRule(LinkHit::Web, "www.example.org", "help@example.org");
  EXPECT_EQ(web.open, "http://www.example.org");
  EXPECT_TRUE(web.close);
  PressOutcome banner = PressRule(LinkHit::None, "www.example.org", "help@example.org");
  EXPECT_EQ(banner.open, "");
  EXPECT_FALSE(banner.close);
}

TEST(AboutVersion, TheStoredVersionIsFollowedByTwentyTwoSpaces) {
  EXPECT_EQ(VersionText(std::string("2.1")), "Version 2.1                      ");
  EXPECT_EQ(VersionText(std::string("2.1")).size(), 8u + 3u + 22u);
  EXPECT_EQ(VersionText(std::nullopt), "Version");
}

TEST(AboutVersion, IsReadFromTheMachineKeyAsTextOfAtMost260Bytes) {
  EXPECT_EQ(ReadStoredVersion(), "2.1");  // the first start's value

  const std::string key = "Software\\Tavrin\\Pagewick";
  auto store = [&](ValueType type, std::vector<std::uint8_t> data) {
    ASSERT_TRUE(registry::SetValue(Hive::LocalMachine, key, {"Version", type, std::move(data)}));
  };
  store(ValueType::ExpandSz, registry::TextData("3.0 beta"));
  EXPECT_EQ(ReadStoredVersion(), "3.0 beta");
  store(ValueType::Sz, registry::TextData(std::string(259, '9')));
  EXPECT_EQ(ReadStoredVersion(), std::string(259, '9'));
  store(ValueType::Sz, registry::TextData(std::string(260, '9')));
  EXPECT_EQ(ReadStoredVersion(), std::nullopt);
  store(ValueType::Sz, {'4', '.', '0'});  // no terminator: still read whole
  EXPECT_EQ(ReadStoredVersion(), "4.0");
  store(ValueType::Dword, registry::DwordData(21));
  EXPECT_EQ(ReadStoredVersion(), std::nullopt);
  ASSERT_TRUE(registry::DeleteValue(Hive::LocalMachine, key, "Version"));
  EXPECT_EQ(ReadStoredVersion(), std::nullopt);
}

}  // namespace
}  // namespace pw::about
