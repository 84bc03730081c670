#include "platform/spooler/spool_writer.h"

#include <QString>

namespace pw::spooler {
namespace {

// Appends a zero-terminated UTF-16LE string; returns its offset, 0 for none.
std::uint32_t PutWideString(io::ByteWriter& out, std::string_view text) {
  if (text.empty()) return 0;
  const auto offset = static_cast<std::uint32_t>(out.size());
  const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (const QChar unit : wide) out.U16(unit.unicode());
  out.U16(0);
  return offset;
}

}  // namespace

SpoolWriter::SpoolWriter(std::string_view document, std::string_view output) {
  out_.U32(static_cast<std::uint32_t>(SpoolRecordType::Header)).U32(0).U32(0).U32(0);  // size and offsets set below
  out_.SetU32(8, PutWideString(out_, document));
  out_.SetU32(12, PutWideString(out_, output));
  out_.Align(4);
  out_.SetU32(4, static_cast<std::uint32_t>(out_.size()));
}

SpoolWriter& SpoolWriter::AddRecord(std::uint32_t type, std::span<const std::byte> data) {
  out_.U32(type).U32(static_cast<std::uint32_t>(data.size())).Bytes(data);
  return *this;
}

SpoolWriter& SpoolWriter::AddPage(std::span<const std::byte> emf) {
  AddRecord(SpoolRecordType::MetafileData, emf);
  // The pointer record holds the distance from its own start back to the
  // start of the page record.
  io::ByteWriter back;
  back.U64(kSpoolRecordHeaderSize + emf.size());
  return AddRecord(SpoolRecordType::MetafileExt, back.bytes());
}

std::vector<std::byte> SpoolWriter::Finish() const {
  io::ByteWriter file = out_;
  file.U32(static_cast<std::uint32_t>(SpoolRecordType::End)).U32(0);
  return file.Take();
}

}  // namespace pw::spooler
