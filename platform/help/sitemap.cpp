#include "platform/help/sitemap.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace pw::platform {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The value of attribute `name` inside a tag's text, quoted or bare.
std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
  std::size_t at = 0;
  while (at < tag.size()) {
    while (at < tag.size() && !std::isalpha(static_cast<unsigned char>(tag[at]))) ++at;
    std::size_t start = at;
    while (at < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[at])) || tag[at] == '-')) ++at;
    std::string_view key = tag.substr(start, at - start);
    while (at < tag.size() && tag[at] == ' ') ++at;
    if (at >= tag.size() || tag[at] != '=') continue;
    ++at;
    while (at < tag.size() && tag[at] == ' ') ++at;
    std::string value;
    if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
      const char quote = tag[at++];
      std::size_t end = tag.find(quote, at);
      if (end == std::string_view::npos) end = tag.size();
      value = tag.substr(at, end - at);
      at = end + 1;
    } else {
      start = at;
      while (at < tag.size() && !std::isspace(static_cast<unsigned char>(tag[at]))) ++at;
      value = tag.substr(start, at - start);
    }
    if (SameLetters(key, name)) return value;
  }
  return std::nullopt;
}

// The few character references help compilers write into names.
std::string Unescape(std::string text) {
  static constexpr std::pair<std::string_view, std::string_view> kReferences[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}};
  for (const auto& [reference, plain] : kReferences) {
    for (std::size_t at = text.find(reference); at != std::string::npos; at = text.find(reference, at + plain.size()))
      text.replace(at, reference.size(), plain);
  }
  return text;
}

}  // namespace

std::vector<SitemapEntry> ParseSitemap(std::string_view html) {
  std::vector<SitemapEntry> entries;
  int depth = -1;
  std::optional<SitemapEntry> open;
  std::size_t at = 0;
  while ((at = html.find('<', at)) != std::string_view::npos) {
    std::size_t end = html.find('>', at);
    if (end == std::string_view::npos) break;
    std::string_view tag = html.substr(at + 1, end - at - 1);
    at = end + 1;
    const bool closing = !tag.empty() && tag.front() == '/';
    if (closing) tag.remove_prefix(1);
    std::size_t name_end = 0;
    while (name_end < tag.size() && std::isalpha(static_cast<unsigned char>(tag[name_end]))) ++name_end;
    std::string_view element = tag.substr(0, name_end);

    if (SameLetters(element, "ul")) {
      depth += closing ? -1 : 1;
    } else if (SameLetters(element, "object")) {
      if (!closing) {
        open = SitemapEntry{};
        open->depth = std::max(depth, 0);
      } else if (open) {
        if (!open->name.empty()) entries.push_back(std::move(*open));
        open.reset();
      }
    } else if (SameLetters(element, "param") && open) {
      std::optional<std::string> name = Attribute(tag.substr(name_end), "name");
      std::optional<std::string> value = Attribute(tag.substr(name_end), "value");
      if (!name || !value) continue;
      if (SameLetters(*name, "Name"))
        open->name = Unescape(*value);
      else if (SameLetters(*name, "Local"))
        open->local = Unescape(*value);
    }
  }
  return entries;
}

}  // namespace pw::platform
