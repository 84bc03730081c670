#include "platform/sysinfo/file_attributes.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace pw::platform {
namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

void Add(std::uint32_t& attributes, FileAttribute attribute) { attributes |= static_cast<std::uint32_t>(attribute); }

}  // namespace

std::optional<std::uint32_t> FileAttributes(const std::string& path) {
  const std::string plain = WithoutTrailingSlash(path);
  struct statx info {};
  // The link itself first: a link is a reparse point whatever it names.
  if (::statx(AT_FDCWD, plain.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_SIZE | STATX_BLOCKS, &info) != 0)
    return std::nullopt;
  std::uint32_t attributes = 0;
  if (S_ISLNK(info.stx_mode)) {
    Add(attributes, FileAttribute::ReparsePoint);
    if (::statx(AT_FDCWD, plain.c_str(), 0, STATX_TYPE | STATX_SIZE | STATX_BLOCKS, &info) != 0) return attributes;
  }
  if (S_ISDIR(info.stx_mode)) Add(attributes, FileAttribute::Directory);
  if (S_ISREG(info.stx_mode) && info.stx_blocks * 512 < info.stx_size) Add(attributes, FileAttribute::SparseFile);
  if (::access(plain.c_str(), W_OK) != 0) Add(attributes, FileAttribute::ReadOnly);
  const std::size_t slash = plain.rfind('/');
  const std::string name = slash == std::string::npos ? plain : plain.substr(slash + 1);
  if (name.size() > 1 && name.front() == '.' && name != "..") Add(attributes, FileAttribute::Hidden);
  if (info.stx_attributes_mask & STATX_ATTR_COMPRESSED & info.stx_attributes) Add(attributes, FileAttribute::Compressed);
  if (info.stx_attributes_mask & STATX_ATTR_ENCRYPTED & info.stx_attributes) Add(attributes, FileAttribute::Encrypted);
  if (info.stx_attributes_mask & STATX_ATTR_AUTOMOUNT & info.stx_attributes) Add(attributes, FileAttribute::Offline);
  if (struct statfs volume {}; ::statfs(plain.c_str(), &volume) == 0 && volume.f_type == TMPFS_MAGIC)
    Add(attributes, FileAttribute::Temporary);
  if (attributes == 0 && S_ISREG(info.stx_mode)) Add(attributes, FileAttribute::Normal);
  return attributes;
}

bool FolderCanBeListed(const std::string& path) {
  DIR* folder = ::opendir(path.c_str());
  if (!folder) return false;
  ::closedir(folder);
  return true;
}

}  // namespace pw::platform
