#pragma once
// A help request's file text, "…/Snaplet.chm::/dim.htm": the help file and
// the topic inside it.
#include <string>
#include <string_view>

namespace pw::platform {

struct HelpRequest {
  std::string file;   // the help file's path
  std::string topic;  // "/dim.htm", with a '/' in front; empty for the start page
};

// Splits at the first "::". A window name after '>' ("file.chm>main")
// names a window style and is dropped.
HelpRequest SplitHelpRequest(std::string_view text);

}  // namespace pw::platform
