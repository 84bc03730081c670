#include "platform/pdf/pdf_document.h"

#include <Magick++.h>
#include <hpdf.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/files/file_writing.h"

namespace pw::platform {
namespace {

enum class ImageKind { Unknown, Jpeg, Png, Other };

ImageKind SniffKind(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[8] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  const auto got = in.gcount();
  if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return ImageKind::Jpeg;
  if (got >= 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) return ImageKind::Png;
  if (got >= 2 && (std::memcmp(head, "BM", 2) == 0 || std::memcmp(head, "GI", 2) == 0 ||
                   std::memcmp(head, "II", 2) == 0 || std::memcmp(head, "MM", 2) == 0))
    return ImageKind::Other;
  return ImageKind::Unknown;
}

// Dots per inch of a file's pixel density; 72 when it has none.
double DensityOf(const Magick::Image& image) {
  double dpi = image.xResolution();
  if (image.resolutionUnits() == MagickCore::PixelsPerCentimeterResolution) {
    dpi *= 2.54;
    // BMP and PNG keep whole pixels per metre, which turns 50 dpi into
    // 49.987; pages are tagged with whole dpi, so take the whole number back.
    const double whole = std::round(dpi);
    if (std::abs(dpi - whole) < 0.05) dpi = whole;
  }
  return dpi > 0 ? dpi : 72.0;
}

}  // namespace

struct PdfDocument::State {
  HPDF_Doc doc = nullptr;
  HPDF_Page page = nullptr;
  std::optional<files::ReplacementFile> output;  // while the document is open
  std::string search_path;
  struct Loaded {
    HPDF_Image image = nullptr;
    Size size;
  };
  std::vector<Loaded> images;
  HPDF_STATUS error = HPDF_OK;
  HPDF_STATUS detail = 0;
  HPDF_STATUS last_error = HPDF_OK;  // kept for messages after the reset
  HPDF_STATUS last_detail = 0;

  ~State() {
    if (doc) HPDF_Free(doc);
  }

  static void OnError(HPDF_STATUS error_no, HPDF_STATUS detail_no, void* user) {
    auto* self = static_cast<State*>(user);
    self->error = error_no;
    self->detail = detail_no;
  }

  // Clears a failed call so that the document can go on.
  bool TakeError() {
    if (error == HPDF_OK) return false;
    last_error = error;
    last_detail = detail;
    error = HPDF_OK;
    HPDF_ResetError(doc);
    return true;
  }

  std::string Resolve(std::string_view name) const {
    if (!name.empty() && name.front() == '/') return std::string(name);
    return search_path + std::string(name);
  }
};

PdfDocument::PdfDocument(std::unique_ptr<State> state) : state_(std::move(state)) {}
PdfDocument::~PdfDocument() = default;

std::unique_ptr<PdfDocument> PdfDocument::New() {
  auto state = std::make_unique<State>();
  state->doc = HPDF_New(&State::OnError, state.get());
  if (!state->doc) return nullptr;
  // Flate is lossless: page images keep every pixel, at a fraction of the size.
  HPDF_SetCompressionMode(state->doc, HPDF_COMP_ALL);
  return std::unique_ptr<PdfDocument>(new PdfDocument(std::move(state)));
}

bool PdfDocument::BeginDocument(const std::string& target) {
  State& s = *state_;
  if (s.output || target.empty()) return false;
  auto output = files::ReplacementFile::Begin(target);
  if (!output) return false;
  s.output = std::move(*output);
  return true;
}

void PdfDocument::SetSearchPath(std::string folder) { state_->search_path = std::move(folder); }

int PdfDocument::LoadImage(std::string_view name) {
  State& s = *state_;
  const std::string path = s.Resolve(name);
  State::Loaded loaded;
  try {
    Magick::Image picture;
    picture.quiet(true);
    const ImageKind kind = SniffKind(path);
    if (kind == ImageKind::Unknown) return -1;
    picture.ping(path);
    const double dpi = DensityOf(picture);
    if (kind == ImageKind::Jpeg) {
      loaded.image = HPDF_LoadJpegImageFromFile(s.doc, path.c_str());
    } else if (kind == ImageKind::Png) {
      loaded.image = HPDF_LoadPngImageFromFile(s.doc, path.c_str());
    }
    // Formats libharu does not read, and PNG forms it refuses (interlaced
    // ones among them), are decoded here and embedded as raw RGB: lossless.
    if (s.TakeError() || !loaded.image) {
      loaded.image = nullptr;
      picture.read(path);
      const std::size_t width = picture.columns();
      const std::size_t height = picture.rows();
      if (width == 0 || height == 0) return -1;
      std::vector<unsigned char> rgb(width * height * 3);
      picture.write(0, 0, width, height, "RGB", MagickCore::CharPixel, rgb.data());
      loaded.image = HPDF_LoadRawImageFromMem(s.doc, rgb.data(), static_cast<HPDF_UINT>(width),
                                              static_cast<HPDF_UINT>(height), HPDF_CS_DEVICE_RGB, 8);
    }
    if (s.TakeError() || !loaded.image) return -1;
    loaded.size.width = HPDF_Image_GetWidth(loaded.image) * 72.0 / dpi;
    loaded.size.height = HPDF_Image_GetHeight(loaded.image) * 72.0 / dpi;
  } catch (const Magick::Exception&) {
    s.TakeError();
    return -1;
  } catch (const std::bad_alloc&) {
    s.TakeError();
    return -1;
  }
  s.images.push_back(loaded);
  return static_cast<int>(s.images.size() - 1);
}

bool PdfDocument::BeginPage(double width, double height) {
  State& s = *state_;
  s.page = HPDF_AddPage(s.doc);
  if (s.TakeError() || !s.page) {
    s.page = nullptr;
    return false;
  }
  HPDF_Page_SetWidth(s.page, static_cast<HPDF_REAL>(width));
  HPDF_Page_SetHeight(s.page, static_cast<HPDF_REAL>(height));
  return !s.TakeError();
}

bool PdfDocument::FitImage(int image, double x, double y, bool adjust_page) {
  State& s = *state_;
  if (!s.page || image < 0 || image >= static_cast<int>(s.images.size()) || !s.images[image].image)
    return false;
  const State::Loaded& loaded = s.images[static_cast<std::size_t>(image)];
  if (adjust_page) {
    HPDF_Page_SetWidth(s.page, static_cast<HPDF_REAL>(x + loaded.size.width));
    HPDF_Page_SetHeight(s.page, static_cast<HPDF_REAL>(y + loaded.size.height));
  }
  HPDF_Page_DrawImage(s.page, loaded.image, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(y),
                      static_cast<HPDF_REAL>(loaded.size.width), static_cast<HPDF_REAL>(loaded.size.height));
  return !s.TakeError();
}

// libharu keeps an image with the document that uses it; closing only ends
// this handle.
void PdfDocument::CloseImage(int image) {
  State& s = *state_;
  if (image >= 0 && image < static_cast<int>(s.images.size())) s.images[static_cast<std::size_t>(image)].image = nullptr;
}

void PdfDocument::EndPage() { state_->page = nullptr; }

bool PdfDocument::EndDocument() {
  State& s = *state_;
  if (!s.output) return false;
  const bool saved = HPDF_SaveToFile(s.doc, s.output->TemporaryPath().c_str()) == HPDF_OK && !s.TakeError();
  if (!saved) return false;  // the destructor removes the temporary file
  const bool committed = s.output->Commit().has_value();
  s.output.reset();
  return committed;
}

PdfDocument::Size PdfDocument::ImageSize(int image) const {
  const State& s = *state_;
  if (image < 0 || image >= static_cast<int>(s.images.size())) return {};
  return s.images[static_cast<std::size_t>(image)].size;
}

std::string PdfDocument::LastError() const {
  if (state_->last_error == HPDF_OK) return {};
  char text[64];
  std::snprintf(text, sizeof text, "PDF library error 0x%04X (detail %u)", static_cast<unsigned>(state_->last_error),
                static_cast<unsigned>(state_->last_detail));
  return text;
}

}  // namespace pw::platform
