#pragma once
// A file's attributes in the desktop's file attribute flags, as far as a
// Linux file has their like, and whether a folder's entries can be listed.
#include <cstdint>
#include <optional>
#include <string>

namespace pw::platform {

enum class FileAttribute : std::uint32_t {
  ReadOnly = 0x1,
  Hidden = 0x2,
  System = 0x4,
  Directory = 0x10,
  Archive = 0x20,
  Normal = 0x80,
  Temporary = 0x100,
  SparseFile = 0x200,
  ReparsePoint = 0x400,
  Compressed = 0x800,
  Offline = 0x1000,
  NotContentIndexed = 0x2000,
  Encrypted = 0x4000,
};

constexpr bool HasAttribute(std::uint32_t attributes, FileAttribute attribute) {
  return (attributes & static_cast<std::uint32_t>(attribute)) != 0;
}

// The flags of the file or folder at `path` (a trailing '/' is ignored);
// nothing when it does not exist or cannot be examined. The mapping:
//   READONLY       the user may not write it (access(W_OK) fails)
//   HIDDEN         its name starts with '.'
//   SYSTEM         never: nothing marks a file as the system's own
//   DIRECTORY      a folder
//   ARCHIVE        never: Linux keeps no changed-since-backup mark
//   NORMAL         a regular file with none of the other flags
//   TEMPORARY      it lies on a tmpfs, which a restart empties
//   SPARSE_FILE    a regular file with fewer blocks than its length needs
//   REPARSE_POINT  the path is a symbolic link
//   COMPRESSED, ENCRYPTED  the file system says so (statx attributes)
//   OFFLINE        the file is an automount point not yet mounted
//   NOT_CONTENT_INDEXED  never: no indexer setting to read
std::optional<std::uint32_t> FileAttributes(const std::string& path);

// Whether listing the folder finds anything at all: as on Windows, where a
// search for "*.*" finds "." in any folder that can be read, this is
// whether the folder can be opened for listing.
bool FolderCanBeListed(const std::string& path);

}  // namespace pw::platform
