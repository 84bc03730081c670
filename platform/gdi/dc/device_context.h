#pragma once
// A GDI device context drawing into a Surface through QPainter.
//
// All GDI state lives in DcState, a value kept on a save stack (SaveDc /
// RestoreDc). Logical coordinates become device pixels through one
// transform: world × page (map mode, window, viewport) × base, where the base
// is what the metafile player sets up to place a picture.
//
// Device coordinates follow GDI: an integer point names a pixel. Filled areas
// cover the pixels whose centres lie inside the figure; lines run through
// the pixels they name and leave out their last pixel; rectangles include
// their right and bottom edge (playback runs in GM_ADVANCED), ellipses and
// arcs are outlined inside it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QRegion>
#include <QTransform>

#include "platform/gdi/emf/emf_records.h"
#include "platform/gdi/emf/gdi_enums.h"
#include "platform/gdi/dc/gdi_objects.h"
#include "platform/gdi/dc/surface.h"

namespace pw::gdi {

enum class PathState { None, Open, Closed };

struct DcState {
  Pen pen;
  Brush brush;
  Font font;
  ColorRef text_color = 0x000000;
  ColorRef bk_color = 0xFFFFFF;
  BkMode bk_mode = BkMode::Opaque;
  Rop2 rop2 = Rop2::CopyPen;
  PolyFillMode fill_mode = PolyFillMode::Alternate;
  StretchBltMode stretch_mode = StretchBltMode::BlackOnWhite;
  ArcDirection arc_direction = ArcDirection::CounterClockwise;
  std::uint32_t text_align = 0;
  float miter_limit = 10.0f;
  std::int32_t break_extra = 0;  // SetTextJustification
  std::int32_t break_count = 0;
  std::int32_t char_extra = 0;   // SetTextCharacterExtra
  std::uint32_t layout = 0;
  std::uint32_t mapper_flags = 0;

  MapMode map_mode = MapMode::Text;
  QPoint window_org;
  QSize window_ext{1, 1};
  QPoint viewport_org;
  QSize viewport_ext{1, 1};
  QTransform world;
  QTransform base;

  QPoint current_position;  // logical
  QPoint brush_origin;      // device pixels
  std::optional<QRegion> clip;       // device pixels; nothing = not clipped
  std::optional<QRegion> meta_clip;  // device pixels; nothing = not clipped

  QPainterPath path;  // device coordinates
  PathState path_state = PathState::None;
};

// A corner of a gradient fill (TRIVERTEX): logical position, 16-bit channels.
struct GradientVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
};

// What the text code reads from the DC.
struct TextState {
  const Font& font;
  std::uint32_t align;
  ColorRef text_color;
  ColorRef bk_color;
  BkMode bk_mode;
  std::int32_t break_extra;
  std::int32_t break_count;
  std::int32_t char_extra;
};

class DeviceContext {
 public:
  explicit DeviceContext(Surface& surface);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  Surface& surface() { return surface_; }
  QImage& Image() { return surface_.image(); }
  const DcState& State() const { return state_; }
  TextState Text() const;

  // The device the fixed map modes measure against (pixels per millimetre).
  // Defaults to 96 dpi; the player sets the metafile's reference device.
  void SetReferenceDevice(SizeL pixels, SizeL millimeters);
  SizeL ReferencePixels() const { return ref_pixels_; }
  SizeL ReferenceMillimeters() const { return ref_mm_; }

  // Attributes.
  void SetTextColor(ColorRef color) { state_.text_color = color; }
  void SetBkColor(ColorRef color) { state_.bk_color = color; }
  void SetBkMode(BkMode mode) { state_.bk_mode = mode; }
  void SetRop2(Rop2 rop) { state_.rop2 = rop; }
  void SetPolyFillMode(PolyFillMode mode) { state_.fill_mode = mode; }
  void SetStretchBltMode(StretchBltMode mode) { state_.stretch_mode = mode; }
  void SetArcDirection(ArcDirection dir) { state_.arc_direction = dir; }
  void SetTextAlign(std::uint32_t align) { state_.text_align = align; }
  void SetMiterLimit(float limit) { state_.miter_limit = limit; }
  void SetTextJustification(std::int32_t extra, std::int32_t count);
  void SetTextCharacterExtra(std::int32_t extra) { state_.char_extra = extra; }
  void SetLayout(std::uint32_t layout) { state_.layout = layout; }
  void SetMapperFlags(std::uint32_t flags) { state_.mapper_flags = flags; }
  void SetBrushOrigin(QPoint origin) { state_.brush_origin = origin; }
  void SelectPen(const Pen& pen) { state_.pen = pen; }
  void SelectBrush(const Brush& brush) { state_.brush = brush; }
  void SelectFont(const Font& font) { state_.font = font; }

  // Mapping. Extents are ignored outside MM_ISOTROPIC and MM_ANISOTROPIC,
  // and zero extents are refused, as GDI does.
  void SetMapMode(MapMode mode);
  void SetWindowOrg(QPoint org);
  bool SetWindowExt(QSize ext);
  void SetViewportOrg(QPoint org);
  bool SetViewportExt(QSize ext);
  bool ScaleWindowExt(std::int32_t xnum, std::int32_t xdenom, std::int32_t ynum, std::int32_t ydenom);
  bool ScaleViewportExt(std::int32_t xnum, std::int32_t xdenom, std::int32_t ynum, std::int32_t ydenom);
  bool SetWorldTransform(const QTransform& xform);
  bool ModifyWorldTransform(const QTransform& xform, WorldTransformMode mode);
  void SetBaseTransform(const QTransform& base);

  // Logical → device pixels; the only place the mapping is put together.
  const QTransform& DeviceTransform() const { return device_transform_; }
  // A logical point in device pixels, rounded as GDI rounds.
  QPoint ToDevice(QPoint logical) const;
  QPointF ToDeviceF(QPointF logical) const { return device_transform_.map(logical); }
  // Whether the device transform only scales and translates.
  bool IsAxisAligned() const;

  // Save stack. SaveDc returns the new level; RestoreDc takes a level
  // (positive: absolute, negative: relative to the current one).
  int SaveDc();
  bool RestoreDc(int level);
  int SaveLevel() const { return static_cast<int>(saved_.size()); }

  // Clipping. Rectangles are logical; regions are device pixels.
  void IntersectClipRect(RectL logical);
  void ExcludeClipRect(RectL logical);
  void OffsetClipRgn(QPoint logical_offset);
  void ExtSelectClipRgn(const QRegion* device_region, RegionMode mode);
  void SetMetaRgn();
  // The region drawing is limited to (meta region ∩ clip region), in device
  // pixels; nothing when drawing is not clipped.
  std::optional<QRegion> DeviceClip() const;

  // Current position (logical).
  void MoveTo(QPoint logical);
  QPoint CurrentPosition() const { return state_.current_position; }

  // Lines and curves (logical coordinates).
  void LineTo(QPoint to);
  void Polyline(std::span<const QPoint> points);
  void PolylineTo(std::span<const QPoint> points);
  void PolyBezier(std::span<const QPoint> points);
  void PolyBezierTo(std::span<const QPoint> points);
  void PolyPolyline(std::span<const QPoint> points, std::span<const std::uint32_t> counts);
  void PolyDraw(std::span<const QPoint> points, std::span<const std::uint8_t> types);
  void Arc(RectL box, QPoint start, QPoint end);
  void ArcTo(RectL box, QPoint start, QPoint end);
  void AngleArc(QPoint center, std::uint32_t radius, float start_degrees, float sweep_degrees);

  // Filled shapes (logical coordinates).
  void Polygon(std::span<const QPoint> points);
  void PolyPolygon(std::span<const QPoint> points, std::span<const std::uint32_t> counts);
  void Rectangle(RectL box);
  void RoundRect(RectL box, QSize corner);
  void Ellipse(RectL box);
  void Chord(RectL box, QPoint start, QPoint end);
  void Pie(RectL box, QPoint start, QPoint end);
  void SetPixel(QPoint logical, ColorRef color);
  // GradientFill: a rectangle shaded from a's colour to b's, across or down;
  // a triangle shaded between its corners.
  void GradientFillRect(const GradientVertex& a, const GradientVertex& b, bool vertical);
  void GradientFillTriangle(const GradientVertex& a, const GradientVertex& b, const GradientVertex& c);

  // Regions in logical coordinates.
  void FillRegion(const QRegion& logical, const Brush& brush);
  void FrameRegion(const QRegion& logical, const Brush& brush, QSize logical_width);
  void InvertRegion(const QRegion& logical);
  void PaintRegion(const QRegion& logical);
  // A logical region in device pixels.
  QRegion RegionToDevice(const QRegion& logical) const;

  // Paths. While a path is open the drawing calls above add to it.
  void BeginPath();
  void EndPath();
  void AbortPath();
  void CloseFigure();
  bool FillPath();
  bool StrokePath();
  bool StrokeAndFillPath();
  bool WidenPath();
  bool FlattenPath();
  bool SelectClipPath(RegionMode mode);
  bool PathOpen() const { return state_.path_state == PathState::Open; }
  // Adds a figure in device pixels to the path being recorded (text adds
  // its glyph outlines); false, adding nothing, when no path is open.
  bool AddToOpenPath(const QPainterPath& device_figure);
  // The pixels a device path fills under a fill mode.
  QRegion PathToRegion(const QPainterPath& device_path, PolyFillMode mode) const;

  // Fills a device-space area with a brush, under the DC's clip and ROP2.
  void FillDevicePath(const QPainterPath& device_path, const Brush& brush);
  // Runs `draw` with a painter on the surface in device pixels, the DC's
  // clip applied, no transform, aliased, composition SourceOver.
  void Draw(const std::function<void(QPainter&)>& draw);

 private:
  void UpdateTransform();
  void ApplyIsotropic();
  // The device outline of a figure (GDI device coordinates). Curved figures
  // fill the whole box but are outlined on the pixels inside its right and
  // bottom edge (`outline`).
  std::optional<QRect> DeviceBox(RectL box) const;
  std::optional<QRectF> CurveBox(RectL box, bool outline) const;
  QPainterPath EllipsePath(RectL box, bool outline) const;
  QPainterPath RectanglePath(RectL box) const;
  QPainterPath RoundRectPath(RectL box, QSize corner, bool outline) const;
  QPainterPath ArcPath(RectL box, QPoint start, QPoint end, int closing, bool outline) const;
  QPainterPath PolyPath(std::span<const QPoint> points, bool close) const;
  // Renders a figure: fills when `fill`, then strokes with the pen.
  void Render(const QPainterPath& figure, bool fill, bool stroke = true);
  void RenderFigure(const QPainterPath& area, const QPainterPath& outline, bool fill, bool stroke);
  void StrokeDevicePath(const QPainterPath& figure);
  template <typename Colour>
  void ShadeDeviceArea(const QPolygonF& device_polygon, Colour&& colour_at);
  void BeginPaint();
  void SetClipRegion(std::optional<QRegion> clip);
  QRegion WholeSurface() const;
  // The current pen's width in device pixels (1 for cosmetic pens).
  int PenDeviceWidth() const;
  void AddToPath(const QPainterPath& figure, bool connect_from_current);

  Surface& surface_;
  QPainter painter_;
  DcState state_;
  std::vector<DcState> saved_;
  QTransform device_transform_;
  SizeL ref_pixels_{960, 960};  // 96 dpi
  SizeL ref_mm_{254, 254};
};

}  // namespace pw::gdi
