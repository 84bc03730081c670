#pragma once
// The .reg text format of the Windows registry editor, version 5.00:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Tavrin\Pagewick]
//   "JPG_Quality"=dword:0000005a
//   "SavePath"="C:\\Pictures\\"
//   "Expanded"=hex(2):25,54,45,4d,50,25,00
//   "Obsolete"=-
//
//   [-HKEY_CURRENT_USER\Software\Old]
//
// Data bytes are the stored bytes themselves, so a file written by
// FormatRegFile reads back to exactly what was exported.
#include "platform/registry/registry.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <tl/expected.hpp>

namespace pw::registry {

struct RegFileError {
  std::size_t line = 0;  // counted from 1
  std::string message;
};

// The changes a .reg text asks for, in its order: each [KEY] line makes the
// key, each [-KEY] line deletes it with its subtree, each value line sets or
// ("name"=-) deletes one value. The first malformed line ends the parse.
tl::expected<std::vector<Change>, RegFileError> ParseRegFile(std::string_view text);

// The .reg text of the given keys, in their order.
std::string FormatRegFile(std::span<const KeyContents> keys);

}  // namespace pw::registry
