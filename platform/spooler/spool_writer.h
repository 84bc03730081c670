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

namespace pw::spooler {

// Record types of the EMF spool format.
enum class SpoolRecordType : std::uint32_t {
  Header = 0x00010000,
  Metafile = 0x01,
  EngineFont = 0x02,
  Devmode = 0x03,
  TypeOneFont = 0x04,
  PreStartPage = 0x05,
  DesignVector = 0x06,
  SubsetFont = 0x07,
  DeltaFont = 0x08,
  FormFeed = 0x09,
  BwMetafile = 0x0A,
  MetafileData = 0x0C,
  MetafileExt = 0x0D,
  BwMetafileExt = 0x0E,
  EngineFontExt = 0x0F,
  TypeOneFontExt = 0x10,
  DesignVectorExt = 0x11,
  SubsetFontExt = 0x12,
  DeltaFontExt = 0x13,
  PsJobData = 0x14,
  EmbedFontExt = 0x15,
};

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
  std::vector<std::byte> bytes_;
};

// True when the bytes begin with a spool header record.
bool LooksLikeSpoolFile(std::span<const std::byte> bytes);

}  // namespace pw::spooler
