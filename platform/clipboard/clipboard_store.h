#pragma once
// The clipboard's enhanced-metafile slot: a file in the machine's home
// folder that the capture helper fills and the capture load takes.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include <tl/expected.hpp>

namespace pw::clipboard {

// Why the clipboard gave no metafile.
enum class ClipboardProblem {
  Empty,     // it holds none, or what it holds cannot be read
  TooLarge,  // it holds more bytes than any metafile may have (limits::kMetafileBytes)
};

// HomeFolder() + "clipboard/clipboard.emf".
std::string ClipboardStorePath();

// Replaces the clipboard's content with the EMF bytes, atomically.
bool PutEnhMetafile(std::span<const std::byte> emf);

// The stored EMF. A store past the metafile byte bound is refused by its
// size, before anything is read.
tl::expected<std::vector<std::byte>, ClipboardProblem> ReadEnhMetafile();

// Empties the clipboard; true when it is empty afterwards.
bool EmptyClipboard();

// Reads and empties in one step, as a consumed capture does.
tl::expected<std::vector<std::byte>, ClipboardProblem> TakeEnhMetafile();

}  // namespace pw::clipboard
