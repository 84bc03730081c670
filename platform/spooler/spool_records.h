#pragma once
// The records of an EMF spool file as the Windows 2000-and-later spooler
// writes them. Every record starts with an 8-byte header: its type and a
// size, both 32-bit little-endian. The first record is the spool header,
// whose size counts the whole record; every other record's size counts the
// data after its header.
#include <cstddef>
#include <cstdint>

namespace pw::spooler {

enum class SpoolRecordType : std::uint32_t {
  End = 0x00,  // ends the file where a writer puts one
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
  MetafileData = 0x0C,  // one page's EMF
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

inline constexpr std::size_t kSpoolRecordHeaderSize = 8;
// The spool header's fixed part: type, size and two string offsets.
inline constexpr std::size_t kSpoolHeaderFixedSize = 16;
// Records of this type or above are a header only: no data follows them.
inline constexpr std::uint32_t kFirstHeaderOnlyType = 0xFFFF;

}  // namespace pw::spooler
