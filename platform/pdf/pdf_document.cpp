#include "platform/pdf/pdf_document.h"

#include <Magick++.h>
#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/files/file_writing.h"

namespace pw::platform {
namespace {

// An image file larger than this is not read: a page image of the largest
// size the renderer makes is far smaller in any of its formats.
constexpr std::uint64_t kMaxImageFileBytes = std::uint64_t{3} << 30;

// What a JPEG's frame header says; JPEG data goes into the document as it is.
struct JpegFrame {
  int width = 0;
  int height = 0;
  int components = 0;
};

std::optional<JpegFrame> ReadJpegFrame(std::span<const std::byte> bytes) {
  const auto at = [&bytes](std::size_t i) { return static_cast<unsigned>(bytes[i]); };
  if (bytes.size() < 4 || at(0) != 0xFF || at(1) != 0xD8) return std::nullopt;
  std::size_t pos = 2;
  while (pos + 4 <= bytes.size()) {
    if (at(pos) != 0xFF) return std::nullopt;
    const unsigned marker = at(pos + 1);
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      pos += 2;
      continue;
    }
    const std::size_t length = (at(pos + 2) << 8) | at(pos + 3);
    if (length < 2 || pos + 2 + length > bytes.size()) return std::nullopt;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 8) return std::nullopt;
      JpegFrame f;
      f.height = static_cast<int>((at(pos + 5) << 8) | at(pos + 6));
      f.width = static_cast<int>((at(pos + 7) << 8) | at(pos + 8));
      f.components = static_cast<int>(at(pos + 9));
      if (f.width == 0 || f.height == 0 || (f.components != 1 && f.components != 3 && f.components != 4))
        return std::nullopt;
      return f;
    }
    pos += 2 + length;
  }
  return std::nullopt;
}

bool IsImageSignature(std::span<const std::byte> bytes) {
  using namespace std::string_view_literals;
  const auto starts = [&bytes](std::string_view magic) {
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
  };
  return starts("\x89PNG\r\n\x1a\n"sv) || starts("BM"sv) || starts("GIF8"sv) || starts("II*\0"sv) ||
         starts("MM\0*"sv);
}

// Dots per inch of an image's pixel density; 72 when it has none.
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

std::optional<std::vector<std::byte>> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size <= 0 || static_cast<std::uint64_t>(size) > kMaxImageFileBytes) return std::nullopt;
  std::vector<std::byte> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

struct PdfDocument::State {
  std::optional<files::ReplacementFile> output;  // while the document is open
  std::uint64_t position = 0;                    // bytes written so far
  std::vector<std::uint64_t> offsets;            // of object n at n - 1
  std::vector<int> page_objects;
  std::string search_path;

  struct Loaded {
    int object = 0;  // 0 once closed
    Size size;
  };
  std::vector<Loaded> images;

  struct Placement {
    int object;
    double x, y, width, height;
  };
  struct Page {
    double width = 0;
    double height = 0;
    std::vector<Placement> placements;
  };
  std::optional<Page> page;

  std::string error;
  int system_error = 0;

  static constexpr int kCatalog = 1;
  static constexpr int kPageTree = 2;

  bool Fail(std::string why, int code = 0) {
    error = std::move(why);
    if (code != 0) system_error = code;
    return false;
  }

  bool Put(std::span<const std::byte> bytes) {
    if (!output) return Fail("the document is not open");
    if (auto written = output->Write(bytes); !written) {
      output.reset();  // the temporary file is gone; nothing more can be added
      return Fail(written.error().Reason(), written.error().code);
    }
    position += bytes.size();
    return true;
  }
  bool Put(std::string_view text) { return Put(std::as_bytes(std::span(text.data(), text.size()))); }

  // A number for an object that is written later.
  int Reserve() {
    offsets.push_back(0);
    return static_cast<int>(offsets.size());
  }
  bool Begin(int object) {
    offsets[static_cast<std::size_t>(object - 1)] = position;
    return Put(std::to_string(object) + " 0 obj\n");
  }

  bool PutStream(int object, const std::string& dictionary, std::span<const std::byte> data) {
    return Begin(object) && Put("<<" + dictionary + " /Length " + std::to_string(data.size()) + ">>\nstream\n") &&
           Put(data) && Put("\nendstream\nendobj\n");
  }

  std::string Resolve(std::string_view name) const {
    if (!name.empty() && name.front() == '/') return std::string(name);
    return search_path + std::string(name);
  }

  int AddImage(std::span<const std::byte> encoded);
};

int PdfDocument::State::AddImage(std::span<const std::byte> encoded) {
  if (!output) {
    Fail("the document is not open");
    return -1;
  }
  Loaded loaded;
  try {
    Magick::Image picture;
    picture.quiet(true);
    const Magick::Blob blob(encoded.data(), encoded.size());
    const auto jpeg = ReadJpegFrame(encoded);
    if (!jpeg && !IsImageSignature(encoded)) {
      Fail("not an image the document takes");
      return -1;
    }
    picture.ping(blob);
    const double dpi = DensityOf(picture);
    const int object = Reserve();
    std::string dictionary = " /Type /XObject /Subtype /Image /BitsPerComponent 8";
    bool written = false;
    std::size_t width = 0;
    std::size_t height = 0;
    if (jpeg) {
      width = static_cast<std::size_t>(jpeg->width);
      height = static_cast<std::size_t>(jpeg->height);
      if (jpeg->components == 1) dictionary += " /ColorSpace /DeviceGray";
      if (jpeg->components == 3) dictionary += " /ColorSpace /DeviceRGB";
      // Adobe's CMYK JPEGs store their inks inverted.
      if (jpeg->components == 4) dictionary += " /ColorSpace /DeviceCMYK /Decode [1 0 1 0 1 0 1 0]";
      dictionary += " /Width " + std::to_string(width) + " /Height " + std::to_string(height) + " /Filter /DCTDecode";
      written = PutStream(object, dictionary, encoded);
    } else {
      picture.read(blob);
      width = picture.columns();
      height = picture.rows();
      if (width == 0 || height == 0) {
        Fail("the image is empty");
        return -1;
      }
      const bool gray = picture.type() == MagickCore::GrayscaleType || picture.type() == MagickCore::BilevelType;
      const std::size_t channels = gray ? 1 : 3;
      std::vector<unsigned char> raw(width * height * channels);
      picture.write(0, 0, width, height, gray ? "R" : "RGB", MagickCore::CharPixel, raw.data());
      picture = Magick::Image();  // the decoded copy goes before the compressed one is made
      uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
      std::vector<std::byte> packed(packed_size);
      // The fastest level: page images are mostly even runs, which it packs
      // nearly as tightly as the slower ones.
      if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                    Z_BEST_SPEED) != Z_OK) {
        Fail("the image could not be compressed");
        return -1;
      }
      packed.resize(packed_size);
      raw = {};
      dictionary += gray ? " /ColorSpace /DeviceGray" : " /ColorSpace /DeviceRGB";
      dictionary += " /Width " + std::to_string(width) + " /Height " + std::to_string(height) + " /Filter /FlateDecode";
      written = PutStream(object, dictionary, packed);
    }
    if (!written) return -1;
    loaded.object = object;
    loaded.size.width = static_cast<double>(width) * 72.0 / dpi;
    loaded.size.height = static_cast<double>(height) * 72.0 / dpi;
  } catch (const Magick::Exception& e) {
    Fail(e.what());
    return -1;
  } catch (const std::bad_alloc&) {
    Fail("out of memory");
    return -1;
  }
  images.push_back(loaded);
  return static_cast<int>(images.size() - 1);
}

PdfDocument::PdfDocument(std::unique_ptr<State> state) : state_(std::move(state)) {}
PdfDocument::~PdfDocument() = default;

std::unique_ptr<PdfDocument> PdfDocument::New() {
  return std::unique_ptr<PdfDocument>(new PdfDocument(std::make_unique<State>()));
}

bool PdfDocument::BeginDocument(const std::string& target) {
  State& s = *state_;
  if (s.output) return s.Fail("the document is already begun");
  if (target.empty()) return s.Fail("the document has no name", ENOENT);
  auto output = files::ReplacementFile::Begin(target);
  if (!output) return s.Fail(output.error().Reason(), output.error().code);
  s.output = std::move(*output);
  s.position = 0;
  s.offsets.clear();
  s.page_objects.clear();
  s.Reserve();  // the catalogue and the page tree, written at the end
  s.Reserve();
  // The comment's high bytes mark the file as binary for transfer programs.
  return s.Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

void PdfDocument::SetSearchPath(std::string folder) { state_->search_path = std::move(folder); }

int PdfDocument::LoadImage(std::string_view name) {
  State& s = *state_;
  const std::string path = s.Resolve(name);
  const auto bytes = ReadWholeFile(path);
  if (!bytes) {
    s.Fail(path + " cannot be read", errno);
    return -1;
  }
  return s.AddImage(*bytes);
}

int PdfDocument::LoadImageBytes(std::span<const std::byte> encoded) { return state_->AddImage(encoded); }

bool PdfDocument::BeginPage(double width, double height) {
  State& s = *state_;
  if (!s.output) return s.Fail("the document is not open");
  if (s.page) EndPage();
  s.page = State::Page{width, height, {}};
  return true;
}

bool PdfDocument::FitImage(int image, double x, double y, bool adjust_page) {
  State& s = *state_;
  if (!s.page || image < 0 || image >= static_cast<int>(s.images.size()) ||
      s.images[static_cast<std::size_t>(image)].object == 0)
    return false;
  const State::Loaded& loaded = s.images[static_cast<std::size_t>(image)];
  if (adjust_page) {
    s.page->width = x + loaded.size.width;
    s.page->height = y + loaded.size.height;
  }
  s.page->placements.push_back({loaded.object, x, y, loaded.size.width, loaded.size.height});
  return true;
}

// The image stays in the document for the pages that use it; closing only
// ends this handle.
void PdfDocument::CloseImage(int image) {
  State& s = *state_;
  if (image >= 0 && image < static_cast<int>(s.images.size())) s.images[static_cast<std::size_t>(image)].object = 0;
}

void PdfDocument::EndPage() {
  State& s = *state_;
  if (!s.page) return;
  const State::Page page = std::move(*s.page);
  s.page.reset();
  if (!s.output) return;
  std::string content;
  std::string resources;
  for (const State::Placement& p : page.placements) {
    const std::string name = "/Im" + std::to_string(p.object);
    content += "q " + Number(p.width) + " 0 0 " + Number(p.height) + " " + Number(p.x) + " " + Number(p.y) + " cm " +
               name + " Do Q\n";
    resources += " " + name + " " + std::to_string(p.object) + " 0 R";
  }
  const int contents = s.Reserve();
  const int page_object = s.Reserve();
  const bool written =
      s.PutStream(contents, "", std::as_bytes(std::span(content.data(), content.size()))) && s.Begin(page_object) &&
      s.Put("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " " + Number(page.height) +
            "] /Resources << /XObject <<" + resources + " >> >> /Contents " + std::to_string(contents) +
            " 0 R >>\nendobj\n");
  if (written) s.page_objects.push_back(page_object);
}

bool PdfDocument::EndDocument() {
  State& s = *state_;
  if (s.page) EndPage();
  if (!s.output) return s.Fail(s.error.empty() ? "the document is not open" : s.error);
  std::string kids;
  for (const int page : s.page_objects) kids += " " + std::to_string(page) + " 0 R";
  bool written = s.Begin(State::kPageTree) &&
                 s.Put("<< /Type /Pages /Kids [" + kids + " ] /Count " + std::to_string(s.page_objects.size()) +
                       " >>\nendobj\n") &&
                 s.Begin(State::kCatalog) && s.Put("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
  if (!written) return false;
  const std::uint64_t xref = s.position;
  std::string table = "xref\n0 " + std::to_string(s.offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (const std::uint64_t offset : s.offsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
    table += entry;
  }
  table += "trailer\n<< /Size " + std::to_string(s.offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
  if (!s.Put(table)) return false;
  auto committed = s.output->Commit();
  s.output.reset();
  if (!committed) return s.Fail(committed.error().Reason(), committed.error().code);
  return true;
}

PdfDocument::Size PdfDocument::ImageSize(int image) const {
  const State& s = *state_;
  if (image < 0 || image >= static_cast<int>(s.images.size())) return {};
  return s.images[static_cast<std::size_t>(image)].size;
}

bool PdfDocument::IsOpen() const { return state_->output.has_value(); }

std::string PdfDocument::LastError() const { return state_->error; }

int PdfDocument::LastSystemError() const { return state_->system_error; }

}  // namespace pw::platform
