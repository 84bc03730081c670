#pragma once
// The clipboard's enhanced-metafile slot: a file in the machine's home
// folder that the capture helper fills and the capture load takes.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pw::clipboard {

// HomeFolder() + "clipboard/clipboard.emf".
std::string ClipboardStorePath();

// Replaces the clipboard's content with the EMF bytes, atomically.
bool PutEnhMetafile(std::span<const std::byte> emf);

// The stored EMF, or nothing when the clipboard holds none or holds more
// bytes than any metafile may have.
std::optional<std::vector<std::byte>> ReadEnhMetafile();

// Empties the clipboard; true when it is empty afterwards.
bool EmptyClipboard();

// Reads and empties in one step, as a consumed capture does.
std::optional<std::vector<std::byte>> TakeEnhMetafile();

}  // namespace pw::clipboard
