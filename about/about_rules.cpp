#include "about/about_rules.h"

#include "platform/registry/machine_key.h"
#include "platform/registry/registry.h"

#include <algorithm>

namespace pw::about {

LinkHit HitTest(QPoint screen_point, const QRect& web_on_screen, const QRect& mail_on_screen) {
  if (web_on_screen.contains(screen_point)) return LinkHit::Web;
  if (mail_on_screen.contains(screen_point)) return LinkHit::Mail;
  return LinkHit::None;
}

HoverOutcome HoverRule(LinkHit hit, LinkHighlight before) {
  HoverOutcome outcome;
  outcome.hand_cursor = hit != LinkHit::None;
  outcome.highlight = {hit == LinkHit::Web, hit == LinkHit::Mail};
  auto change = [](bool was, bool now) {
    if (was == now) return FontChange::None;
    return now ? FontChange::ToHover : FontChange::ToLink;
  };
  outcome.web_font = change(before.web, outcome.highlight.web);
  outcome.mail_font = change(before.mail, outcome.highlight.mail);
  return outcome;
}

PressOutcome PressRule(LinkHit hit, std::string_view web_host, std::string_view mail_address) {
  switch (hit) {
    case LinkHit::Mail: return {"mailto:" + std::string(mail_address), true};
    case LinkHit::Web: return {"http://" + std::string(web_host), true};
    case LinkHit::None: break;
  }
  return {};
}

std::string VersionText(const std::optional<std::string>& version) {
  if (!version) return "Version";
  return "Version " + *version + std::string(22, ' ');
}

std::optional<std::string> ReadStoredVersion() {
  constexpr std::size_t kMaxBytes = 260;
  std::optional<registry::Value> value =
      registry::QueryValue(registry::Hive::LocalMachine, registry::kMachineKeyPath, registry::kVersionValue);
  if (!value || (value->type != registry::ValueType::Sz && value->type != registry::ValueType::ExpandSz))
    return std::nullopt;
  // A text stored without its terminator still needs room for one.
  const bool terminated = std::find(value->data.begin(), value->data.end(), 0) != value->data.end();
  if (value->data.size() + (terminated ? 0 : 1) > kMaxBytes) return std::nullopt;
  auto end = std::find(value->data.begin(), value->data.end(), 0);
  return std::string(value->data.begin(), end);
}

}  // namespace pw::about
