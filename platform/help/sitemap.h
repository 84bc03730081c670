#pragma once
// The contents of a help file: the entries of its sitemap (.hhc), an HTML
// list of <OBJECT type="text/sitemap"> elements with "Name" and "Local"
// parameters, nested by <UL>.
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

struct SitemapEntry {
  std::string name;   // the title shown
  std::string local;  // the topic, e.g. "dim.htm"; empty for a heading
  int depth = 0;      // 0 for the outermost list
};

// The entries in document order. Markup it does not know is skipped;
// entries without a name are left out.
std::vector<SitemapEntry> ParseSitemap(std::string_view html);

}  // namespace pw::platform
