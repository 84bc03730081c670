#include "platform/clipboard/clipboard_store.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/file_writing.h"
#include "platform/limits/limits.h"
#include "platform/paths/paths.h"

namespace pw::clipboard {

namespace fs = std::filesystem;

std::string ClipboardStorePath() { return platform::HomeFolder() + "clipboard/clipboard.emf"; }

bool PutEnhMetafile(std::span<const std::byte> emf) {
  const fs::path target = ClipboardStorePath();
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  return files::ReplaceFile(target, emf).has_value();
}

tl::expected<std::vector<std::byte>, ClipboardProblem> ReadEnhMetafile() {
  // Anything larger than a metafile may be is not read into memory at all.
  std::error_code error;
  const auto size = fs::file_size(ClipboardStorePath(), error);
  if (error) return tl::unexpected(ClipboardProblem::Empty);
  if (size > static_cast<std::uintmax_t>(limits::kMetafileBytes.value))
    return tl::unexpected(ClipboardProblem::TooLarge);
  std::ifstream in(ClipboardStorePath(), std::ios::binary);
  if (!in) return tl::unexpected(ClipboardProblem::Empty);
  std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return tl::unexpected(ClipboardProblem::Empty);
  std::vector<std::byte> bytes(raw.size());
  std::transform(raw.begin(), raw.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
  return bytes;
}

bool EmptyClipboard() {
  std::error_code error;
  fs::remove(ClipboardStorePath(), error);
  return !error;
}

tl::expected<std::vector<std::byte>, ClipboardProblem> TakeEnhMetafile() {
  auto content = ReadEnhMetafile();
  EmptyClipboard();
  return content;
}

}  // namespace pw::clipboard
