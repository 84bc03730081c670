#pragma once
// The About box's rules as plain functions: which link the mouse is over,
// how the highlight and the cursor follow it, what a click does, and the
// version line.
#include <QPoint>
#include <QRect>

#include <optional>
#include <string>
#include <string_view>

namespace pw::about {

enum class LinkHit { None, Web, Mail };

// The web static is tested first and wins where the two overlap.
LinkHit HitTest(QPoint screen_point, const QRect& web_on_screen, const QRect& mail_on_screen);

struct LinkHighlight {
  bool web = false;
  bool mail = false;
  bool operator==(const LinkHighlight&) const = default;
};

enum class FontChange { None, ToHover, ToLink };

struct HoverOutcome {
  LinkHighlight highlight;  // afterwards
  bool hand_cursor = false;
  // Only a static whose highlight changes gets a new font (and a redraw).
  FontChange web_font = FontChange::None;
  FontChange mail_font = FontChange::None;
};

HoverOutcome HoverRule(LinkHit hit, LinkHighlight before);

// A press on a link opens it through the shell and closes the box; a press
// elsewhere does nothing by itself (the release closes the box).
struct PressOutcome {
  std::string open;  // the link to open, or empty
  bool close = false;
};

PressOutcome PressRule(LinkHit hit, std::string_view web_host, std::string_view mail_address);

// "Version" + " " + the stored version + 22 spaces, or "Version" alone when
// nothing was read.
std::string VersionText(const std::optional<std::string>& version);

// The machine key's "Version" as the box reads it: a text value of at most
// 260 bytes with its terminator; anything else reads as absent.
std::optional<std::string> ReadStoredVersion();

}  // namespace pw::about
