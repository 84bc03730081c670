#include "platform/gdi/emf/emf_writer.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace pw::gdi {

namespace {

constexpr std::size_t kHeaderSize = 108;
constexpr std::size_t kEofSize = 20;

// The header's micrometre size is a 32-bit field; a page of more than about
// 2 km is written with the largest size it holds rather than overflowing.
std::int32_t MicrometersOf(std::int32_t millimeters) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{millimeters} * 1000, kMin, kMax));
}

void PutU32(std::vector<std::byte>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
}

RectL BoundsOf(std::span<const PointL> points) {
  if (points.empty()) return {0, 0, -1, -1};
  RectL r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const auto& p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

}  // namespace

RecordBuilder& RecordBuilder::U8(std::uint8_t v) {
  bytes_.push_back(static_cast<std::byte>(v));
  return *this;
}

RecordBuilder& RecordBuilder::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v & 0xFF));
  return U8(static_cast<std::uint8_t>(v >> 8));
}

RecordBuilder& RecordBuilder::U32(std::uint32_t v) {
  U16(static_cast<std::uint16_t>(v & 0xFFFF));
  return U16(static_cast<std::uint16_t>(v >> 16));
}

RecordBuilder& RecordBuilder::F32(float v) { return U32(std::bit_cast<std::uint32_t>(v)); }

RecordBuilder& RecordBuilder::Bytes(std::span<const std::byte> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

RecordBuilder& RecordBuilder::Utf16(std::u16string_view text, std::size_t chars) {
  for (char16_t c : text) U16(static_cast<std::uint16_t>(c));
  for (std::size_t i = text.size(); i < chars; ++i) U16(0);
  return *this;
}

RecordBuilder& RecordBuilder::Align4() {
  while (bytes_.size() % 4 != 0) U8(0);
  return *this;
}

EmfWriter::EmfWriter() = default;

EmfWriter& EmfWriter::Frame(RectL frame) {
  frame_ = frame;
  return *this;
}

EmfWriter& EmfWriter::Bounds(RectL bounds) {
  bounds_ = bounds;
  return *this;
}

EmfWriter& EmfWriter::Device(SizeL pixels, SizeL millimeters) {
  device_ = pixels;
  millimeters_ = millimeters;
  return *this;
}

EmfWriter& EmfWriter::Handles(std::uint16_t handles) {
  handles_ = handles;
  return *this;
}

EmfWriter& EmfWriter::Record(std::uint32_t type, const RecordBuilder& params) {
  std::vector<std::byte> body = params.bytes();
  while (body.size() % 4 != 0) body.push_back(std::byte{0});
  records_.emplace_back(type, std::move(body));
  return *this;
}

EmfWriter& EmfWriter::Words(RecordType type, std::initializer_list<std::int32_t> words) {
  RecordBuilder b;
  for (auto w : words) b.I32(w);
  return Record(type, b);
}

EmfWriter& EmfWriter::SetWorldTransform(const float (&m)[6]) {
  RecordBuilder b;
  for (float v : m) b.F32(v);
  return Record(RecordType::SetWorldTransform, b);
}

EmfWriter& EmfWriter::ModifyWorldTransform(const float (&m)[6], WorldTransformMode mode) {
  RecordBuilder b;
  for (float v : m) b.F32(v);
  b.U32(static_cast<std::uint32_t>(mode));
  return Record(RecordType::ModifyWorldTransform, b);
}

EmfWriter& EmfWriter::Poly(RecordType type, std::span<const PointL> points) {
  RecordBuilder b;
  b.Rect(BoundsOf(points)).U32(static_cast<std::uint32_t>(points.size()));
  for (const auto& p : points) b.Point(p);
  return Record(type, b);
}

EmfWriter& EmfWriter::Poly16(RecordType type, std::span<const PointL> points) {
  RecordBuilder b;
  b.Rect(BoundsOf(points)).U32(static_cast<std::uint32_t>(points.size()));
  for (const auto& p : points) b.I16(static_cast<std::int16_t>(p.x)).I16(static_cast<std::int16_t>(p.y));
  return Record(type, b);
}

EmfWriter& EmfWriter::PolyPoly16(RecordType type, std::span<const std::vector<PointL>> polys) {
  std::vector<PointL> all;
  for (const auto& poly : polys) all.insert(all.end(), poly.begin(), poly.end());
  RecordBuilder b;
  b.Rect(BoundsOf(all)).U32(static_cast<std::uint32_t>(polys.size())).U32(static_cast<std::uint32_t>(all.size()));
  for (const auto& poly : polys) b.U32(static_cast<std::uint32_t>(poly.size()));
  for (const auto& p : all) b.I16(static_cast<std::int16_t>(p.x)).I16(static_cast<std::int16_t>(p.y));
  return Record(type, b);
}

EmfWriter& EmfWriter::CreatePen(std::uint32_t index, PenStyle style, std::int32_t width, std::uint32_t colorref) {
  UseHandle(index);
  RecordBuilder b;
  b.U32(index).U32(static_cast<std::uint32_t>(style)).I32(width).I32(0).U32(colorref);
  return Record(RecordType::CreatePen, b);
}

EmfWriter& EmfWriter::CreateBrush(std::uint32_t index, BrushStyle style, std::uint32_t colorref, HatchStyle hatch) {
  UseHandle(index);
  RecordBuilder b;
  b.U32(index).U32(static_cast<std::uint32_t>(style)).U32(colorref).U32(static_cast<std::uint32_t>(hatch));
  return Record(RecordType::CreateBrushIndirect, b);
}

EmfWriter& EmfWriter::UseHandle(std::uint32_t index) {
  if (!(index & 0x80000000u)) max_handle_ = std::max(max_handle_, index);
  return *this;
}

std::size_t EmfWriter::RecordOffset(std::size_t index) const {
  std::size_t offset = 0;
  if (index == 0) return 0;
  offset = kHeaderSize;
  for (std::size_t i = 0; i + 1 < index && i < records_.size(); ++i) offset += 8 + records_[i].second.size();
  return offset;
}

EmfWriter& EmfWriter::CorruptU32(std::size_t offset, std::uint32_t value) {
  corruptions_.emplace_back(offset, value);
  return *this;
}

EmfWriter& EmfWriter::Truncate(std::size_t length) {
  truncate_ = length;
  return *this;
}

std::vector<std::byte> EmfWriter::Finish() const {
  RecordBuilder out;
  std::size_t total = kHeaderSize + kEofSize;
  for (const auto& r : records_) total += 8 + r.second.size();
  const std::uint16_t handles = handles_ ? *handles_ : static_cast<std::uint16_t>(std::min<std::uint32_t>(max_handle_ + 1, 0xFFFF));
  const RectL bounds = bounds_.value_or(RectL{0, 0, -1, -1});

  out.U32(static_cast<std::uint32_t>(RecordType::Header)).U32(kHeaderSize);
  out.Rect(bounds).Rect(frame_);
  out.U32(kEmfSignature).U32(0x10000).U32(static_cast<std::uint32_t>(total));
  out.U32(static_cast<std::uint32_t>(records_.size() + 2));
  out.U16(handles).U16(0);
  out.U32(0).U32(0).U32(0);  // description, palette entries
  out.Size(device_).Size(millimeters_);
  out.U32(0).U32(0).U32(0);  // pixel format, OpenGL
  out.Size(SizeL{MicrometersOf(millimeters_.cx), MicrometersOf(millimeters_.cy)});
  for (const auto& [type, body] : records_) {
    out.U32(type).U32(static_cast<std::uint32_t>(8 + body.size()));
    out.Bytes(body);
  }
  out.U32(static_cast<std::uint32_t>(RecordType::Eof)).U32(kEofSize).U32(0).U32(16).U32(kEofSize);

  std::vector<std::byte> bytes = out.bytes();
  for (const auto& [offset, value] : corruptions_)
    if (offset <= bytes.size() && bytes.size() - offset >= 4) PutU32(bytes, offset, value);
  if (truncate_ && *truncate_ < bytes.size()) bytes.resize(*truncate_);
  return bytes;
}

}  // namespace pw::gdi
