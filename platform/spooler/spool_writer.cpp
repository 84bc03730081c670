#include "platform/spooler/spool_writer.h"

#include <QString>

namespace pw::spooler {
namespace {

constexpr std::size_t kHeaderFixedSize = 16;  // version, size, two string offsets

void PutU32(std::vector<std::byte>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
}

void PutU64(std::vector<std::byte>& out, std::uint64_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
  PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

void SetU32(std::vector<std::byte>& out, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}

// Appends a zero-terminated UTF-16LE string; returns its offset, 0 for none.
std::uint32_t PutWideString(std::vector<std::byte>& out, std::string_view text) {
  if (text.empty()) return 0;
  const auto offset = static_cast<std::uint32_t>(out.size());
  const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (const QChar unit : wide) {
    out.push_back(static_cast<std::byte>(unit.unicode() & 0xFF));
    out.push_back(static_cast<std::byte>(unit.unicode() >> 8));
  }
  out.insert(out.end(), 2, std::byte{0});
  return offset;
}

}  // namespace

SpoolWriter::SpoolWriter(std::string_view document, std::string_view output) {
  PutU32(bytes_, static_cast<std::uint32_t>(SpoolRecordType::Header));
  PutU32(bytes_, 0);  // size, set below
  PutU32(bytes_, 0);
  PutU32(bytes_, 0);
  SetU32(bytes_, 8, PutWideString(bytes_, document));
  SetU32(bytes_, 12, PutWideString(bytes_, output));
  while (bytes_.size() % 4 != 0) bytes_.push_back(std::byte{0});
  SetU32(bytes_, 4, static_cast<std::uint32_t>(bytes_.size()));
}

SpoolWriter& SpoolWriter::AddRecord(std::uint32_t type, std::span<const std::byte> data) {
  PutU32(bytes_, type);
  PutU32(bytes_, static_cast<std::uint32_t>(data.size()));
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return *this;
}

SpoolWriter& SpoolWriter::AddPage(std::span<const std::byte> emf) {
  AddRecord(SpoolRecordType::MetafileData, emf);
  // The pointer record holds the distance from its own start back to the
  // start of the page record.
  std::vector<std::byte> back;
  PutU64(back, 8 + emf.size());
  return AddRecord(SpoolRecordType::MetafileExt, back);
}

std::vector<std::byte> SpoolWriter::Finish() const {
  std::vector<std::byte> file = bytes_;
  PutU32(file, 0);
  PutU32(file, 0);
  return file;
}

bool LooksLikeSpoolFile(std::span<const std::byte> bytes) {
  if (bytes.size() < kHeaderFixedSize) return false;
  auto u32 = [&](std::size_t at) {
    return std::to_integer<std::uint32_t>(bytes[at]) | std::to_integer<std::uint32_t>(bytes[at + 1]) << 8 |
           std::to_integer<std::uint32_t>(bytes[at + 2]) << 16 | std::to_integer<std::uint32_t>(bytes[at + 3]) << 24;
  };
  const std::uint32_t size = u32(4);
  return u32(0) == static_cast<std::uint32_t>(SpoolRecordType::Header) && size >= kHeaderFixedSize &&
         size <= bytes.size();
}

}  // namespace pw::spooler
