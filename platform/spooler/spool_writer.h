#pragma once
// Builds EMF spool files as the Windows 2000-and-later spooler writes them:
// the spool header, then per page an EMRI_METAFILE_DATA record holding the
// page EMF and an EMRI_METAFILE_EXT record pointing back at it, then a
// terminating record of type 0. Tests add records of other types between
// pages to shape what a reader must skip.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io/byte_writer.h"
#include "platform/spooler/spool_records.h"

namespace pw::spooler {

class SpoolWriter {
 public:
  // The document and output names of the header (UTF-8; stored as UTF-16).
  explicit SpoolWriter(std::string_view document = {}, std::string_view output = {});

  // One page: its EMF bytes as they are, then the pointer record.
  SpoolWriter& AddPage(std::span<const std::byte> emf);
  // Any record: an 8-byte header (type, data size) and the data.
  SpoolWriter& AddRecord(std::uint32_t type, std::span<const std::byte> data);
  SpoolWriter& AddRecord(SpoolRecordType type, std::span<const std::byte> data) {
    return AddRecord(static_cast<std::uint32_t>(type), data);
  }

  // The file so far plus the terminating record.
  std::vector<std::byte> Finish() const;

 private:
  io::ByteWriter out_;
};

}  // namespace pw::spooler
