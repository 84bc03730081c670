#pragma once
// An enhanced metafile held in memory: validated once, immutable, shared
// between copies. Every record of a Metafile is known to lie inside the
// data, to be at least 8 bytes long and a multiple of 4.
//
// Bytes without a valid header (EMR_HEADER, " EMF", a byte count that is a
// multiple of 4 and fits) are no metafile. Damage further on (a record too
// small, unaligned or running past the end, no EMR_EOF) ends the record list
// there, as GDI's player stops there; Damage() says where.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <span>
#include <string>
#include <vector>

#include <tl/expected.hpp>

#include "platform/io/byte_reader.h"
#include "platform/gdi/emf/emf_records.h"
#include "platform/limits/limits.h"

namespace pw::gdi {

// Why bytes are not a metafile, and where the fault was found.
struct MetafileError {
  std::string message;
  std::size_t offset = 0;
  // The bound on foreign input the bytes went past, when that is the fault
  // (the message is then the bound's own).
  const limits::Limit* limit = nullptr;
};

// One record: its type, where it starts, and its bytes (type and size included).
struct RecordView {
  std::uint32_t type = 0;
  std::size_t offset = 0;
  std::span<const std::byte> bytes;

  // A reader over the record's parameters, i.e. after type and size.
  io::ByteReader Params() const { return io::ByteReader(bytes.subspan(8)); }
  // A reader over the whole record; offsets inside records count from here.
  io::ByteReader Whole() const { return io::ByteReader(bytes); }
};

class Metafile {
 public:
  // Largest metafile accepted, so that a hostile size cannot exhaust memory.
  static constexpr std::size_t kMaxBytes = static_cast<std::size_t>(limits::kMetafileBytes.value);

  Metafile() = default;  // empty: no records, IsNull()

  static tl::expected<Metafile, MetafileError> FromBytes(std::span<const std::byte> bytes);
  static tl::expected<Metafile, MetafileError> FromBytes(std::vector<std::byte> bytes);
  static tl::expected<Metafile, MetafileError> FromFile(const std::filesystem::path& path);

  // Writes the metafile's bytes (as far as the header's byte count) to a file.
  bool WriteToFile(const std::filesystem::path& path) const;

  bool IsNull() const { return !data_; }
  const EmfHeader& Header() const;
  // The metafile's bytes, as far as the header's byte count.
  std::span<const std::byte> Bytes() const;
  // Records from the header up to and including the first EMR_EOF.
  std::size_t RecordCount() const;
  RecordView Record(std::size_t index) const;
  // Where the record list was cut short, if it was.
  const std::optional<MetafileError>& Damage() const;

 private:
  struct Data {
    std::vector<std::byte> bytes;
    EmfHeader header;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> records;  // offset, size
    std::optional<MetafileError> damage;
  };
  explicit Metafile(std::shared_ptr<const Data> data) : data_(std::move(data)) {}

  std::shared_ptr<const Data> data_;
};

}  // namespace pw::gdi
