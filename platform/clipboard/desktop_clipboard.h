#pragma once
// The desktop's clipboard, as far as it holds an enhanced metafile: what a
// Windows program under Wine copies (Wine names the CF_ENHMETAFILE format
// "WCF_ENHMETAFILE" on X11 and hands over the EMF's bytes) and what other
// programs offer as image/emf or image/x-emf.
#include <cstddef>
#include <string_view>
#include <vector>

#include <tl/expected.hpp>

#include "platform/clipboard/clipboard_store.h"

namespace pw::clipboard {

// The formats looked for, in the order they are preferred.
inline constexpr std::string_view kDesktopEmfFormats[] = {"WCF_ENHMETAFILE", "image/emf", "image/x-emf"};

// The bytes of the first of those formats the desktop's clipboard offers.
// Call on the user-interface thread of a Qt GUI application; without one
// the clipboard is Empty. Bytes past the metafile byte bound are refused
// (TooLarge); whether the rest is a metafile is for the caller to check.
tl::expected<std::vector<std::byte>, ClipboardProblem> ReadDesktopEnhMetafile();

}  // namespace pw::clipboard
