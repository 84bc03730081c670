#pragma once
// The two ways the program puts a file on disk.
//
// CreateNewFile: the name must be free. Whatever stands there, a symbolic
// link included, makes the call fail, so no other file is ever written
// through or taken over.
//
// ReplaceFile / ReplacementFile: the content is written to a new temporary
// file beside the target, flushed to disk and renamed over the target.
// Readers see the old file or the whole new one, never a part; a link at
// the target name is replaced, not followed; a failed or abandoned write
// leaves the old file as it was and no temporary file behind. A process
// killed while writing cannot clean up; RemoveStaleTemporaries removes what
// it left at the start of a later run.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <tl/expected.hpp>

namespace pw::files {

// Who may read the written file: everyone the umask allows, or the owner only.
enum class Access { Shared, Private };

// Why a file could not be written. `path` is the file the caller asked
// for, never a temporary name.
struct FileError {
  std::string path;
  int code = 0;  // errno

  std::string Reason() const;   // the system's text for `code`
  std::string Message() const;  // "cannot write PATH: REASON"
};

using WriteResult = tl::expected<void, FileError>;

WriteResult CreateNewFile(const std::filesystem::path& path, std::span<const std::byte> bytes,
                          Access access = Access::Shared);

WriteResult ReplaceFile(const std::filesystem::path& path, std::span<const std::byte> bytes,
                        Access access = Access::Shared);
WriteResult ReplaceFile(const std::filesystem::path& path, std::string_view text, Access access = Access::Shared);

// Removes from `folder` the temporary files of replacements of files whose
// names begin with `name_prefix` that a process left when it died (killed
// with -9, or the machine went down): hidden files named exactly as
// ReplacementFile names them, regular files of this user written before
// the call, that no live writer holds. A writer holds its temporary file
// locked while it is open, and the lock goes with its process. Anything
// else in the folder stays. Returns how many files were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, std::string_view name_prefix);

// A replacement written piece by piece. Nothing appears under the target
// name before Commit; destroyed uncommitted, the temporary file goes.
class ReplacementFile {
 public:
  static tl::expected<ReplacementFile, FileError> Begin(const std::filesystem::path& target,
                                                        Access access = Access::Shared);

  ReplacementFile(ReplacementFile&& other) noexcept;
  ReplacementFile& operator=(ReplacementFile&& other) noexcept;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  WriteResult Write(std::span<const std::byte> bytes);
  WriteResult Write(std::string_view text);

  // The temporary file, for a library that can only write to a named file.
  // What it writes there is what Commit puts in place.
  const std::filesystem::path& TemporaryPath() const { return temporary_; }

  // Flushes the content to disk and renames it over the target. After a
  // failure the temporary file is gone and the target untouched.
  WriteResult Commit();

 private:
  ReplacementFile(std::filesystem::path target, std::filesystem::path temporary, int fd);
  FileError Fail(int code);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
};

}  // namespace pw::files
