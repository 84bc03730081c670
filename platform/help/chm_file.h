#pragma once
// A compiled HTML help file (CHM) opened with chmlib: its objects listed and
// read, and the facts its #SYSTEM object records (default topic, title,
// contents file).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <tl/expected.hpp>

struct chmFile;

namespace pw::platform {

// Objects larger than this are not read into memory.
inline constexpr std::uint64_t kMaxChmObjectBytes = 64u << 20;

// What #SYSTEM says; a fact it does not hold is empty.
struct ChmSystemFacts {
  std::string contents_file;  // e.g. "toc.hhc"
  std::string default_topic;  // e.g. "index.htm"
  std::string title;
};

// Reads the records of a #SYSTEM object: a 4-byte version, then records of
// a 2-byte code, a 2-byte length and that many bytes. A record that runs
// past the end ends the reading; what came before it is kept.
ChmSystemFacts ParseChmSystem(std::span<const std::byte> bytes);

class ChmFile {
 public:
  static tl::expected<ChmFile, std::string> Open(const std::string& path);

  // Every object's path ("/dim.htm", "/#SYSTEM", …) in the file's order.
  std::vector<std::string> Objects() const;

  // The object's bytes; nothing when it is absent, larger than the limit
  // or cannot be read whole. Paths compare as the file stores them, with a
  // leading '/' added when missing.
  std::optional<std::vector<std::byte>> Read(std::string_view object) const;

  bool Contains(std::string_view object) const;

  ChmSystemFacts System() const;

  const std::string& path() const { return path_; }

 private:
  struct Closer {
    void operator()(chmFile* file) const;
  };
  ChmFile(std::unique_ptr<chmFile, Closer> file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

  std::unique_ptr<chmFile, Closer> file_;
  std::string path_;
};

}  // namespace pw::platform
