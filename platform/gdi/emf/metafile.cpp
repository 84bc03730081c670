#include "platform/gdi/emf/metafile.h"

#include <cstring>
#include <fstream>

#include "platform/files/file_writing.h"

namespace pw::gdi {

namespace {

tl::unexpected<MetafileError> Error(std::string message, std::size_t offset = 0) {
  return tl::unexpected(MetafileError{std::move(message), offset});
}

tl::unexpected<MetafileError> TooLarge() {
  return tl::unexpected(MetafileError{std::string(limits::kMetafileBytes.message), 0, &limits::kMetafileBytes});
}

}  // namespace

tl::expected<Metafile, MetafileError> Metafile::FromBytes(std::span<const std::byte> bytes) {
  if (bytes.size() > kMaxBytes) return TooLarge();
  return FromBytes(std::vector<std::byte>(bytes.begin(), bytes.end()));
}

tl::expected<Metafile, MetafileError> Metafile::FromBytes(std::vector<std::byte> bytes) {
  if (bytes.size() > kMaxBytes) return TooLarge();
  io::ByteReader all(bytes);
  if (bytes.size() < kEmfHeaderMinSize) return Error("too short for an EMF header");
  auto header = ParseEmfHeader(all);
  if (!header) return Error("first record is not EMR_HEADER");
  if (header->signature != kEmfSignature) return Error("no \" EMF\" signature", 40);
  if (header->bytes % 4 != 0) return Error("byte count not a multiple of 4", 48);
  if (header->bytes > bytes.size()) return Error("truncated: header counts more bytes than there are", 48);
  if (header->bytes < kEmfHeaderMinSize) return Error("byte count smaller than the header", 48);

  auto data = std::make_shared<Data>();
  data->header = *header;
  bytes.resize(header->bytes);
  // The record count is only a hint (real files are off by one); cap the
  // reservation so that a hostile count cannot allocate much.
  data->records.reserve(std::min<std::size_t>(header->records, bytes.size() / 8));
  std::size_t offset = 0;
  bool eof = false;
  // Records are walked up to EMR_EOF. A record that is too small, unaligned
  // or runs past the end ends the list: what came before it still plays.
  while (offset < bytes.size()) {
    if (bytes.size() - offset < 8) {
      data->damage = MetafileError{"record header cut short", offset};
      break;
    }
    io::ByteReader head(std::span<const std::byte>(bytes).subspan(offset, 8));
    const std::uint32_t type = head.U32();
    const std::uint32_t size = head.U32();
    const std::size_t min_size = offset == 0 ? kEmfHeaderMinSize : 8;
    if (size < min_size || size % 4 != 0 || size > bytes.size() - offset) {
      data->damage = MetafileError{size < min_size      ? "record smaller than its fixed part"
                                   : size % 4 != 0      ? "record size not a multiple of 4"
                                                        : "record runs past the end",
                                   offset};
      if (offset == 0) data->records.push_back({0, static_cast<std::uint32_t>(kEmfHeaderMinSize)});
      break;
    }
    data->records.push_back({static_cast<std::uint32_t>(offset), size});
    offset += size;
    if (type == static_cast<std::uint32_t>(RecordType::Eof)) {
      eof = true;
      break;
    }
  }
  if (!eof && !data->damage) data->damage = MetafileError{"no EMR_EOF record", offset};
  data->bytes = std::move(bytes);
  return Metafile(std::move(data));
}

tl::expected<Metafile, MetafileError> Metafile::FromFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return Error("cannot open " + path.string());
  if (size > kMaxBytes) return TooLarge();
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error("cannot open " + path.string());
  std::vector<std::byte> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return Error("cannot read " + path.string());
  return FromBytes(std::move(bytes));
}

bool Metafile::WriteToFile(const std::filesystem::path& path) const {
  return data_ && files::ReplaceFile(path, Bytes()).has_value();
}

const EmfHeader& Metafile::Header() const {
  static const EmfHeader kEmpty;
  return data_ ? data_->header : kEmpty;
}

std::span<const std::byte> Metafile::Bytes() const {
  if (!data_) return {};
  return data_->bytes;
}

std::size_t Metafile::RecordCount() const { return data_ ? data_->records.size() : 0; }

RecordView Metafile::Record(std::size_t index) const {
  if (!data_ || index >= data_->records.size()) return {};
  const auto [offset, size] = data_->records[index];
  io::ByteReader head(std::span<const std::byte>(data_->bytes).subspan(offset, 8));
  RecordView view;
  view.type = head.U32();
  view.offset = offset;
  view.bytes = std::span<const std::byte>(data_->bytes).subspan(offset, size);
  return view;
}

const std::optional<MetafileError>& Metafile::Damage() const {
  static const std::optional<MetafileError> kNone;
  return data_ ? data_->damage : kNone;
}

}  // namespace pw::gdi
