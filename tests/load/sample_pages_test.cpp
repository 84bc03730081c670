#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <set>

#include "platform/gdi/emf/metafile.h"
#include "render/image_to_bitmap.h"
#include "render/page_rasteriser.h"
#include "tools/make-samples/sample_pages.h"

namespace pw::samples {
namespace {

using gdi::RecordType;

struct TextRun {
  std::u16string face;
  int height = 0;
  std::vector<std::int32_t> dx;
  int bounds_width = 0;
};

// What the pages hold, read back from their records.
struct Contents {
  std::map<std::uint32_t, int> records;
  std::set<std::u16string> faces;
  bool bold = false;
  bool italic = false;
  std::vector<TextRun> runs;
  int bitmaps_24bit = 0;
};

std::u16string Utf16At(io::ByteReader reader, std::size_t offset, std::size_t chars) {
  std::u16string text;
  reader.Seek(offset);
  for (std::size_t i = 0; i < chars; ++i) {
    const char16_t c = reader.U16();
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

void Read(const gdi::Metafile& page, Contents& out) {
  std::u16string face;
  int height = 0;
  for (std::size_t i = 0; i < page.RecordCount(); ++i) {
    const gdi::RecordView record = page.Record(i);
    out.records[record.type]++;
    io::ByteReader r = record.Whole();
    if (record.type == static_cast<std::uint32_t>(RecordType::ExtCreateFontIndirectW)) {
      r.Seek(12);
      height = -r.I32();
      r.Seek(28);
      const std::int32_t weight = r.I32();
      const std::uint8_t italic = r.U8();
      face = Utf16At(record.Whole(), 40, 32);
      out.faces.insert(face);
      out.bold |= weight >= 700;
      out.italic |= italic != 0;
    } else if (record.type == static_cast<std::uint32_t>(RecordType::ExtTextOutW)) {
      TextRun run{face, height, {}, 0};
      r.Seek(8);
      const std::int32_t left = r.I32();
      r.Skip(4);
      run.bounds_width = r.I32() - left;
      r.Seek(44);
      const std::uint32_t chars = r.U32();
      r.Seek(72);
      const std::uint32_t off_dx = r.U32();
      r.Seek(off_dx);
      for (std::uint32_t k = 0; k < chars; ++k) run.dx.push_back(r.I32());
      out.runs.push_back(std::move(run));
    } else if (record.type == static_cast<std::uint32_t>(RecordType::StretchDiBits)) {
      r.Seek(80 + 14);
      if (r.U16() == 24) out.bitmaps_24bit++;
    }
  }
}

class SamplePages : public ::testing::Test {
 protected:
  void SetUp() override {
    pages_ = QuickStartPages();
    for (const auto& page : pages_) {
      auto metafile = gdi::Metafile::FromBytes(page.emf);
      ASSERT_TRUE(metafile) << page.file_name << ": " << metafile.error().message;
      metafiles_.push_back(*metafile);
      Read(*metafile, contents_);
    }
  }
  int Count(RecordType type) { return contents_.records[static_cast<std::uint32_t>(type)]; }

  std::vector<SamplePage> pages_;
  std::vector<gdi::Metafile> metafiles_;
  Contents contents_;
};

TEST_F(SamplePages, AreNumberedA4Pages) {
  ASSERT_GE(pages_.size(), 4u);
  ASSERT_LE(pages_.size(), 8u);
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    EXPECT_EQ(pages_[i].file_name, "0000" + std::to_string(i + 1) + ".emf");
    const auto& frame = metafiles_[i].Header().frame;
    EXPECT_EQ(frame.right - frame.left, 21000);
    EXPECT_EQ(frame.bottom - frame.top, 29700);
  }
}

TEST_F(SamplePages, HoldWhatWordPagesHold) {
  for (const char16_t* face : {u"Arial", u"Times New Roman", u"Courier New", u"Calibri"})
    EXPECT_TRUE(contents_.faces.count(face)) << std::string(face, face + std::char_traits<char16_t>::length(face));
  EXPECT_TRUE(contents_.bold);
  EXPECT_TRUE(contents_.italic);
  EXPECT_GT(Count(RecordType::ExtTextOutW), 100);
  EXPECT_GE(contents_.bitmaps_24bit, 1);
  EXPECT_GE(Count(RecordType::PolyBezier16), 1);
  EXPECT_GE(Count(RecordType::Polygon16), 1);
  EXPECT_GE(Count(RecordType::RoundRect), 1);
  EXPECT_GE(Count(RecordType::Ellipse), 1);
  EXPECT_GE(Count(RecordType::Rectangle), 20);
}

TEST_F(SamplePages, TextAdvancesComeFromTheFaces) {
  int mono_runs = 0;
  for (const TextRun& run : contents_.runs) {
    ASSERT_FALSE(run.dx.empty());
    EXPECT_EQ(std::accumulate(run.dx.begin(), run.dx.end(), 0), run.bounds_width);
    for (std::int32_t d : run.dx) EXPECT_GE(d, 0);
    if (run.face == u"Courier New") {
      // Every character of the monospaced face advances 0.6 em.
      ++mono_runs;
      const double advance = run.height * 1229.0 / 2048.0;
      for (std::int32_t d : run.dx) EXPECT_NEAR(d, advance, 1.0);
    }
  }
  EXPECT_GT(mono_runs, 10);
}

TEST_F(SamplePages, RenderAsInkedPages) {
  render::RenderRequest request;
  request.metafile = &metafiles_.front();
  request.resolution = 96;
  request.threads = 1;
  auto rendered = render::RenderPage(request);
  ASSERT_TRUE(rendered) << rendered.error().message;
  EXPECT_EQ(rendered->image.columns(), 794u);
  EXPECT_EQ(rendered->image.rows(), 1123u);
  auto bitmap = render::ImageToBitmap(rendered->image);
  ASSERT_TRUE(bitmap);
  int dark = 0;
  const QImage& image = bitmap->image();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  const double share = static_cast<double>(dark) / (image.width() * image.height());
  EXPECT_GT(share, 0.01);
  EXPECT_LT(share, 0.30);
}

}  // namespace
}  // namespace pw::samples
