#pragma once
// A small fluent writer of enhanced metafiles. It lays out records, works
// out sizes and offsets, and fills the header when finished. For negative
// tests it can overwrite any 32-bit field of the finished bytes or cut the
// file short.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gdi/emf/emf_records.h"
#include "platform/gdi/emf/gdi_enums.h"

namespace pw::gdi {

// The parameters of one record, little-endian.
class RecordBuilder {
 public:
  RecordBuilder& U8(std::uint8_t v);
  RecordBuilder& U16(std::uint16_t v);
  RecordBuilder& I16(std::int16_t v) { return U16(static_cast<std::uint16_t>(v)); }
  RecordBuilder& U32(std::uint32_t v);
  RecordBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  RecordBuilder& F32(float v);
  RecordBuilder& Point(PointL p) { return I32(p.x).I32(p.y); }
  RecordBuilder& Size(SizeL s) { return I32(s.cx).I32(s.cy); }
  RecordBuilder& Rect(RectL r) { return I32(r.left).I32(r.top).I32(r.right).I32(r.bottom); }
  RecordBuilder& Bytes(std::span<const std::byte> bytes);
  // UTF-16 text, padded with zero characters to `chars` when that is larger.
  RecordBuilder& Utf16(std::u16string_view text, std::size_t chars = 0);
  RecordBuilder& Align4();
  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::byte>& bytes() const { return bytes_; }

 private:
  std::vector<std::byte> bytes_;
};

class EmfWriter {
 public:
  EmfWriter();

  // Header fields. By default the reference device is 1000 × 1000 pixels on
  // 100 × 100 mm (10 pixels per mm) and the frame is 0,0 – 1000,1000, so a
  // picture played into a 100 × 100 rectangle maps one logical unit to one pixel.
  EmfWriter& Frame(RectL frame_hundredths_mm);
  EmfWriter& Bounds(RectL bounds);
  EmfWriter& Device(SizeL pixels, SizeL millimeters);
  // The handle count; by default one more than the largest index used by
  // the object helpers below.
  EmfWriter& Handles(std::uint16_t handles);

  // Appends a record with the given parameters; returns its index.
  EmfWriter& Record(std::uint32_t type, const RecordBuilder& params = {});
  EmfWriter& Record(RecordType type, const RecordBuilder& params = {}) {
    return Record(static_cast<std::uint32_t>(type), params);
  }
  // A record whose parameters are 32-bit words.
  EmfWriter& Words(RecordType type, std::initializer_list<std::int32_t> words);

  // Common records. Values outside the enumerations go through Words.
  EmfWriter& SetMapMode(MapMode mode) { return Words(RecordType::SetMapMode, {static_cast<std::int32_t>(mode)}); }
  EmfWriter& SetWindowOrg(std::int32_t x, std::int32_t y) { return Words(RecordType::SetWindowOrgEx, {x, y}); }
  EmfWriter& SetWindowExt(std::int32_t cx, std::int32_t cy) { return Words(RecordType::SetWindowExtEx, {cx, cy}); }
  EmfWriter& SetViewportOrg(std::int32_t x, std::int32_t y) { return Words(RecordType::SetViewportOrgEx, {x, y}); }
  EmfWriter& SetViewportExt(std::int32_t cx, std::int32_t cy) { return Words(RecordType::SetViewportExtEx, {cx, cy}); }
  EmfWriter& SetBkMode(BkMode mode) { return Words(RecordType::SetBkMode, {static_cast<std::int32_t>(mode)}); }
  EmfWriter& SetBkColor(std::uint32_t colorref) { return Words(RecordType::SetBkColor, {static_cast<std::int32_t>(colorref)}); }
  EmfWriter& SetTextColor(std::uint32_t colorref) { return Words(RecordType::SetTextColor, {static_cast<std::int32_t>(colorref)}); }
  EmfWriter& SetRop2(Rop2 rop) { return Words(RecordType::SetRop2, {static_cast<std::int32_t>(rop)}); }
  EmfWriter& SetPolyFillMode(PolyFillMode mode) {
    return Words(RecordType::SetPolyFillMode, {static_cast<std::int32_t>(mode)});
  }
  EmfWriter& SetStretchBltMode(StretchBltMode mode) {
    return Words(RecordType::SetStretchBltMode, {static_cast<std::int32_t>(mode)});
  }
  // TextAlign bits, one or several.
  EmfWriter& SetTextAlign(std::uint32_t align) { return Words(RecordType::SetTextAlign, {static_cast<std::int32_t>(align)}); }
  EmfWriter& SetTextAlign(TextAlign align) { return SetTextAlign(static_cast<std::uint32_t>(align)); }
  EmfWriter& SaveDc() { return Record(RecordType::SaveDc); }
  EmfWriter& RestoreDc(std::int32_t relative) { return Words(RecordType::RestoreDc, {relative}); }
  // eM11, eM12, eM21, eM22, eDx, eDy
  EmfWriter& SetWorldTransform(const float (&m)[6]);
  EmfWriter& ModifyWorldTransform(const float (&m)[6], WorldTransformMode mode);
  EmfWriter& MoveTo(std::int32_t x, std::int32_t y) { return Words(RecordType::MoveToEx, {x, y}); }
  EmfWriter& LineTo(std::int32_t x, std::int32_t y) { return Words(RecordType::LineTo, {x, y}); }
  EmfWriter& Rectangle(RectL box) { return Words(RecordType::Rectangle, {box.left, box.top, box.right, box.bottom}); }
  EmfWriter& Ellipse(RectL box) { return Words(RecordType::Ellipse, {box.left, box.top, box.right, box.bottom}); }
  EmfWriter& IntersectClipRect(RectL r) { return Words(RecordType::IntersectClipRect, {r.left, r.top, r.right, r.bottom}); }
  EmfWriter& ExcludeClipRect(RectL r) { return Words(RecordType::ExcludeClipRect, {r.left, r.top, r.right, r.bottom}); }
  // Point lists: 32-bit (EMR_POLYGON, ...) or 16-bit (EMR_POLYGON16, ...) with bounds.
  EmfWriter& Poly(RecordType type, std::span<const PointL> points);
  EmfWriter& Poly16(RecordType type, std::span<const PointL> points);
  EmfWriter& PolyPoly16(RecordType type, std::span<const std::vector<PointL>> polys);
  // Objects: a LOGPEN, a LOGBRUSH, a selection and a deletion.
  EmfWriter& CreatePen(std::uint32_t index, PenStyle style, std::int32_t width, std::uint32_t colorref);
  EmfWriter& CreateBrush(std::uint32_t index, BrushStyle style, std::uint32_t colorref,
                         HatchStyle hatch = HatchStyle::Horizontal);
  EmfWriter& SelectObject(std::uint32_t index) { return Words(RecordType::SelectObject, {static_cast<std::int32_t>(index)}); }
  EmfWriter& DeleteObject(std::uint32_t index) { return Words(RecordType::DeleteObject, {static_cast<std::int32_t>(index)}); }
  // Records an object index the writer did not create itself (for the handle count).
  EmfWriter& UseHandle(std::uint32_t index);

  // Offset of record `index` in the finished bytes (0 is the header).
  std::size_t RecordOffset(std::size_t index) const;
  std::size_t RecordCount() const { return records_.size() + 2; }

  // Overwrites a 32-bit little-endian value of the finished bytes.
  EmfWriter& CorruptU32(std::size_t offset, std::uint32_t value);
  // Cuts the finished bytes to this length.
  EmfWriter& Truncate(std::size_t length);

  // The metafile's bytes: header, records, EMR_EOF.
  std::vector<std::byte> Finish() const;

 private:
  RectL frame_{0, 0, 1000, 1000};
  std::optional<RectL> bounds_;
  SizeL device_{1000, 1000};
  SizeL millimeters_{100, 100};
  std::optional<std::uint16_t> handles_;
  std::uint32_t max_handle_ = 0;
  std::vector<std::pair<std::uint32_t, std::vector<std::byte>>> records_;
  std::vector<std::pair<std::size_t, std::uint32_t>> corruptions_;
  std::optional<std::size_t> truncate_;
};

}  // namespace pw::gdi
