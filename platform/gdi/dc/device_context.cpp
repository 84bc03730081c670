#include "platform/gdi/dc/device_context.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>

#include "platform/gdi/dc/gdi_style.h"
#include "platform/gdi/dc/rounding.h"

namespace pw::gdi {

namespace {

// Far beyond any surface: "no clip region" in region arithmetic, kept the
// same whatever band of a page a surface holds.
const QRegion& Everything() {
  static const QRegion everything(QRect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29));
  return everything;
}

// The pixels of a logical rectangle, right and bottom edge excluded.
QRegion LogicalRect(RectL r) {
  const std::int64_t x1 = std::min(r.left, r.right), x2 = std::max(r.left, r.right);
  const std::int64_t y1 = std::min(r.top, r.bottom), y2 = std::max(r.top, r.bottom);
  if (x2 == x1 || y2 == y1 || x2 - x1 > INT32_MAX || y2 - y1 > INT32_MAX) return {};
  return QRegion(QRect(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1), static_cast<int>(y2 - y1)));
}

// MulDiv as GDI does it: a × b / c rounded to nearest.
int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  return static_cast<int>(std::llround(static_cast<double>(a) * b / c));
}

bool IsInvertible(const QTransform& t) {
  const double det = t.m11() * t.m22() - t.m12() * t.m21();
  return std::isfinite(det) && det != 0 && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

}  // namespace

DeviceContext::DeviceContext(Surface& surface) : surface_(surface) {
  painter_.begin(&surface_.image());
  UpdateTransform();
}

DeviceContext::~DeviceContext() {
  if (painter_.isActive()) painter_.end();
}

TextState DeviceContext::Text() const {
  return TextState{state_.font,        state_.text_align,  state_.text_color,  state_.bk_color,
                   state_.bk_mode,     state_.break_extra, state_.break_count, state_.char_extra};
}

void DeviceContext::SetReferenceDevice(SizeL pixels, SizeL millimeters) {
  if (pixels.cx <= 0 || pixels.cy <= 0 || millimeters.cx <= 0 || millimeters.cy <= 0) return;
  ref_pixels_ = pixels;
  ref_mm_ = millimeters;
}

void DeviceContext::SetTextJustification(std::int32_t extra, std::int32_t count) {
  state_.break_extra = extra;
  state_.break_count = count;
}

void DeviceContext::SetMapMode(MapMode mode) {
  if (mode == state_.map_mode && (mode == MapMode::Isotropic || mode == MapMode::Anisotropic)) return;
  const int mm_x = ref_mm_.cx, mm_y = ref_mm_.cy;
  const QSize device_ext(ref_pixels_.cx, -ref_pixels_.cy);
  switch (mode) {
    case MapMode::Text:
      state_.window_ext = QSize(1, 1);
      state_.viewport_ext = QSize(1, 1);
      break;
    case MapMode::LoMetric:
    case MapMode::Isotropic:
      state_.window_ext = QSize(mm_x * 10, mm_y * 10);
      state_.viewport_ext = device_ext;
      break;
    case MapMode::HiMetric:
      state_.window_ext = QSize(mm_x * 100, mm_y * 100);
      state_.viewport_ext = device_ext;
      break;
    case MapMode::LoEnglish:
      state_.window_ext = QSize(MulDiv(1000, mm_x, 254), MulDiv(1000, mm_y, 254));
      state_.viewport_ext = device_ext;
      break;
    case MapMode::HiEnglish:
      state_.window_ext = QSize(MulDiv(10000, mm_x, 254), MulDiv(10000, mm_y, 254));
      state_.viewport_ext = device_ext;
      break;
    case MapMode::Twips:
      state_.window_ext = QSize(MulDiv(14400, mm_x, 254), MulDiv(14400, mm_y, 254));
      state_.viewport_ext = device_ext;
      break;
    case MapMode::Anisotropic:
      break;
    default:
      return;
  }
  state_.map_mode = mode;
  UpdateTransform();
}

void DeviceContext::SetWindowOrg(QPoint org) {
  state_.window_org = org;
  UpdateTransform();
}

bool DeviceContext::SetWindowExt(QSize ext) {
  if (state_.map_mode != MapMode::Isotropic && state_.map_mode != MapMode::Anisotropic) return true;
  if (ext.width() == 0 || ext.height() == 0) return false;
  state_.window_ext = ext;
  if (state_.map_mode == MapMode::Isotropic) ApplyIsotropic();
  UpdateTransform();
  return true;
}

void DeviceContext::SetViewportOrg(QPoint org) {
  state_.viewport_org = org;
  UpdateTransform();
}

bool DeviceContext::SetViewportExt(QSize ext) {
  if (state_.map_mode != MapMode::Isotropic && state_.map_mode != MapMode::Anisotropic) return true;
  if (ext.width() == 0 || ext.height() == 0) return false;
  state_.viewport_ext = ext;
  if (state_.map_mode == MapMode::Isotropic) ApplyIsotropic();
  UpdateTransform();
  return true;
}

bool DeviceContext::ScaleWindowExt(std::int32_t xnum, std::int32_t xdenom, std::int32_t ynum, std::int32_t ydenom) {
  if (xdenom == 0 || ydenom == 0) return false;
  const auto w = static_cast<std::int64_t>(state_.window_ext.width()) * xnum / xdenom;
  const auto h = static_cast<std::int64_t>(state_.window_ext.height()) * ynum / ydenom;
  if (w == 0 || h == 0 || std::llabs(w) > INT32_MAX || std::llabs(h) > INT32_MAX) return false;
  return SetWindowExt(QSize(static_cast<int>(w), static_cast<int>(h)));
}

bool DeviceContext::ScaleViewportExt(std::int32_t xnum, std::int32_t xdenom, std::int32_t ynum, std::int32_t ydenom) {
  if (xdenom == 0 || ydenom == 0) return false;
  const auto w = static_cast<std::int64_t>(state_.viewport_ext.width()) * xnum / xdenom;
  const auto h = static_cast<std::int64_t>(state_.viewport_ext.height()) * ynum / ydenom;
  if (w == 0 || h == 0 || std::llabs(w) > INT32_MAX || std::llabs(h) > INT32_MAX) return false;
  return SetViewportExt(QSize(static_cast<int>(w), static_cast<int>(h)));
}

// Makes one unit as long in x as in y on the reference device, shrinking the
// larger viewport extent.
void DeviceContext::ApplyIsotropic() {
  const double xdim = std::fabs(static_cast<double>(state_.viewport_ext.width()) * ref_mm_.cx /
                                (static_cast<double>(ref_pixels_.cx) * state_.window_ext.width()));
  const double ydim = std::fabs(static_cast<double>(state_.viewport_ext.height()) * ref_mm_.cy /
                                (static_cast<double>(ref_pixels_.cy) * state_.window_ext.height()));
  if (xdim > ydim) {
    const int min = state_.viewport_ext.width() >= 0 ? 1 : -1;
    int w = RoundHalfUp(state_.viewport_ext.width() * ydim / xdim);
    state_.viewport_ext.setWidth(w ? w : min);
  } else if (ydim > xdim) {
    const int min = state_.viewport_ext.height() >= 0 ? 1 : -1;
    int h = RoundHalfUp(state_.viewport_ext.height() * xdim / ydim);
    state_.viewport_ext.setHeight(h ? h : min);
  }
}

bool DeviceContext::SetWorldTransform(const QTransform& xform) {
  if (!IsInvertible(xform)) return false;
  state_.world = xform;
  UpdateTransform();
  return true;
}

bool DeviceContext::ModifyWorldTransform(const QTransform& xform, WorldTransformMode mode) {
  QTransform result;
  switch (mode) {
    case WorldTransformMode::Identity: break;
    case WorldTransformMode::LeftMultiply: result = xform * state_.world; break;
    case WorldTransformMode::RightMultiply: result = state_.world * xform; break;
    case WorldTransformMode::Set: result = xform; break;
    default: return false;
  }
  if (!IsInvertible(result)) return false;
  state_.world = result;
  UpdateTransform();
  return true;
}

void DeviceContext::SetBaseTransform(const QTransform& base) {
  state_.base = base;
  UpdateTransform();
}

void DeviceContext::UpdateTransform() {
  const double sx = static_cast<double>(state_.viewport_ext.width()) / state_.window_ext.width();
  const double sy = static_cast<double>(state_.viewport_ext.height()) / state_.window_ext.height();
  const QTransform page(sx, 0, 0, sy, state_.viewport_org.x() - sx * state_.window_org.x(),
                        state_.viewport_org.y() - sy * state_.window_org.y());
  device_transform_ = state_.world * page * state_.base;
}

QPoint DeviceContext::ToDevice(QPoint logical) const {
  const QPointF p = device_transform_.map(QPointF(logical));
  return QPoint(RoundHalfUp(p.x()), RoundHalfUp(p.y()));
}

bool DeviceContext::IsAxisAligned() const {
  return device_transform_.m12() == 0 && device_transform_.m21() == 0;
}

int DeviceContext::SaveDc() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDc(int level) {
  const int depth = static_cast<int>(saved_.size());
  if (level == 0 || std::abs(level) > depth) return false;
  if (level < 0) level = depth + level + 1;
  state_ = std::move(saved_[static_cast<std::size_t>(level - 1)]);
  saved_.resize(static_cast<std::size_t>(level - 1));
  UpdateTransform();
  return true;
}

QRegion DeviceContext::WholeSurface() const { return Everything(); }

void DeviceContext::SetClipRegion(std::optional<QRegion> clip) { state_.clip = std::move(clip); }

void DeviceContext::IntersectClipRect(RectL logical) {
  const QRegion rect = RegionToDevice(LogicalRect(logical));
  SetClipRegion(state_.clip ? *state_.clip & rect : rect);
}

void DeviceContext::ExcludeClipRect(RectL logical) {
  const QRegion rect = RegionToDevice(LogicalRect(logical));
  SetClipRegion((state_.clip ? *state_.clip : WholeSurface()) - rect);
}

void DeviceContext::OffsetClipRgn(QPoint logical_offset) {
  if (!state_.clip) return;
  const QTransform& t = device_transform_;
  const int dx = RoundHalfUp(logical_offset.x() * t.m11() + logical_offset.y() * t.m21());
  const int dy = RoundHalfUp(logical_offset.x() * t.m12() + logical_offset.y() * t.m22());
  state_.clip->translate(dx, dy);
}

void DeviceContext::ExtSelectClipRgn(const QRegion* region, RegionMode mode) {
  if (!region) {
    if (mode == RegionMode::Copy) SetClipRegion(std::nullopt);
    return;
  }
  const QRegion current = state_.clip ? *state_.clip : WholeSurface();
  switch (mode) {
    case RegionMode::Copy: SetClipRegion(*region); break;
    case RegionMode::And: SetClipRegion(current & *region); break;
    case RegionMode::Or:
      if (state_.clip) SetClipRegion(*state_.clip | *region);
      break;
    case RegionMode::Xor: SetClipRegion(current ^ *region); break;
    case RegionMode::Diff: SetClipRegion(current - *region); break;
  }
}

void DeviceContext::SetMetaRgn() {
  if (state_.clip) state_.meta_clip = state_.meta_clip ? *state_.meta_clip & *state_.clip : *state_.clip;
  state_.clip.reset();
}

std::optional<QRegion> DeviceContext::DeviceClip() const {
  if (state_.clip && state_.meta_clip) return *state_.clip & *state_.meta_clip;
  if (state_.clip) return state_.clip;
  return state_.meta_clip;
}

QRegion DeviceContext::RegionToDevice(const QRegion& logical) const {
  if (device_transform_.isIdentity()) return logical;
  if (IsAxisAligned()) {
    QRegion out;
    for (const QRect& r : logical) {
      const QPoint a = ToDevice(r.topLeft());
      const QPoint b = ToDevice(QPoint(r.x() + r.width(), r.y() + r.height()));
      const int x1 = std::min(a.x(), b.x()), x2 = std::max(a.x(), b.x());
      const int y1 = std::min(a.y(), b.y()), y2 = std::max(a.y(), b.y());
      if (x2 > x1 && y2 > y1) out += QRect(x1, y1, x2 - x1, y2 - y1);
    }
    return out;
  }
  QPainterPath path;
  for (const QRect& r : logical) path.addRect(QRectF(r.left(), r.top(), r.width(), r.height()));
  return PathToRegion(device_transform_.map(path), PolyFillMode::Winding);
}

void DeviceContext::BeginPaint() {
  painter_.resetTransform();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  // Always a clip of our own: turning clipping off and on again is not
  // reliable in QPainter's raster engine once a clip region has been used.
  const auto clip = DeviceClip();
  const QRect surface_rect(0, 0, surface_.width(), surface_.height());
  painter_.setClipRegion(clip ? *clip & surface_rect : QRegion(surface_rect));
  painter_.setBrushOrigin(state_.brush_origin);
  const auto mode = ToCompositionMode(state_.rop2);
  painter_.setCompositionMode(mode ? *mode : QPainter::CompositionMode_SourceOver);
}

void DeviceContext::Draw(const std::function<void(QPainter&)>& draw) {
  BeginPaint();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.save();
  draw(painter_);
  painter_.restore();
}

}  // namespace pw::gdi
