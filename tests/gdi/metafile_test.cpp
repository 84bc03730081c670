#include "platform/gdi/emf/metafile.h"

#include <gtest/gtest.h>

#include "platform/gdi/emf/emf_writer.h"
#include "tests/support/test_home.h"

namespace pw::gdi {
namespace {

EmfWriter Sample() {
  EmfWriter w;
  w.Frame({0, 0, 2100, 2970}).Device({800, 600}, {200, 150});
  w.CreatePen(3, PenStyle::Solid, 1, 0).SelectObject(3).Rectangle({1, 2, 30, 40});
  return w;
}

TEST(Metafile, ReadsTheHeaderTheWriterFilled) {
  auto mf = Metafile::FromBytes(Sample().Finish());
  ASSERT_TRUE(mf) << mf.error().message;
  const EmfHeader& h = mf->Header();
  EXPECT_EQ(h.frame, (RectL{0, 0, 2100, 2970}));
  EXPECT_EQ(h.device, (SizeL{800, 600}));
  EXPECT_EQ(h.millimeters, (SizeL{200, 150}));
  EXPECT_EQ(h.handles, 4);  // one more than the largest index used
  EXPECT_EQ(h.records, 5u);
  ASSERT_TRUE(h.micrometers);
  EXPECT_EQ(*h.micrometers, (SizeL{200000, 150000}));
  ASSERT_EQ(mf->RecordCount(), 5u);
  EXPECT_EQ(mf->Record(3).type, static_cast<std::uint32_t>(RecordType::Rectangle));
  EXPECT_EQ(mf->Record(4).type, static_cast<std::uint32_t>(RecordType::Eof));
  EXPECT_FALSE(mf->Damage());
  EXPECT_EQ(mf->Bytes().size(), h.bytes);
}

TEST(Metafile, AVastPageKeepsTheLargestMicrometreSizeTheHeaderHolds) {
  EmfWriter w;
  w.Frame({0, 0, 2'000'000'000, 2'000'000'000}).Device({200'000'000, 10}, {20'000'000, -3'000'000});
  auto mf = Metafile::FromBytes(w.Finish());
  ASSERT_TRUE(mf) << mf.error().message;
  ASSERT_TRUE(mf->Header().micrometers);
  EXPECT_EQ(*mf->Header().micrometers, (SizeL{2147483647, -2147483647 - 1}));
  EXPECT_EQ(mf->Header().millimeters, (SizeL{20'000'000, -3'000'000}));
}

TEST(Metafile, RefusesBytesWithoutAValidHeader) {
  const auto good = Sample().Finish();
  EXPECT_FALSE(Metafile::FromBytes(std::span(good).first(60)));                  // too short
  EXPECT_FALSE(Metafile::FromBytes(Sample().Truncate(good.size() - 4).Finish()));  // header counts more bytes
  EXPECT_FALSE(Metafile::FromBytes(Sample().CorruptU32(40, 0x12345678).Finish()));  // signature
  EXPECT_FALSE(Metafile::FromBytes(Sample().CorruptU32(0, 2).Finish()));            // not EMR_HEADER first
  EXPECT_FALSE(Metafile::FromBytes(Sample().CorruptU32(48, static_cast<std::uint32_t>(good.size() - 2)).Finish()));
  EXPECT_FALSE(Metafile::FromBytes(std::vector<std::byte>{}));
  const auto error = Metafile::FromBytes(Sample().CorruptU32(40, 0).Finish()).error();
  EXPECT_EQ(error.offset, 40u);
}

TEST(Metafile, DamagedRecordsEndTheRecordList) {
  EmfWriter w = Sample();
  const std::size_t rect = w.RecordOffset(3);
  // A record claiming 6 bytes: the list ends before it.
  auto small = Metafile::FromBytes(Sample().CorruptU32(rect + 4, 6).Finish());
  ASSERT_TRUE(small);
  EXPECT_EQ(small->RecordCount(), 3u);
  ASSERT_TRUE(small->Damage());
  EXPECT_EQ(small->Damage()->offset, rect);
  // Unaligned, and running past the end.
  EXPECT_EQ(Metafile::FromBytes(Sample().CorruptU32(rect + 4, 26).Finish())->RecordCount(), 3u);
  EXPECT_EQ(Metafile::FromBytes(Sample().CorruptU32(rect + 4, 0x7FFFFFF0).Finish())->RecordCount(), 3u);
  // No EMR_EOF: every record plays, and the damage is reported.
  auto no_eof = Metafile::FromBytes(Sample().CorruptU32(w.RecordOffset(4), 70).Finish());
  ASSERT_TRUE(no_eof);
  EXPECT_EQ(no_eof->RecordCount(), 5u);
  EXPECT_TRUE(no_eof->Damage());
}

TEST(Metafile, AHeaderSizeBeyondTheDataLeavesOnlyTheHeader) {
  auto mf = Metafile::FromBytes(Sample().CorruptU32(4, 0x10000).Finish());
  ASSERT_TRUE(mf);
  EXPECT_EQ(mf->RecordCount(), 1u);
  EXPECT_TRUE(mf->Damage());
}

TEST(Metafile, CopiesShareOneImmutableBuffer) {
  auto mf = Metafile::FromBytes(Sample().Finish());
  ASSERT_TRUE(mf);
  const Metafile copy = *mf;
  EXPECT_EQ(copy.Bytes().data(), mf->Bytes().data());
  EXPECT_TRUE(Metafile().IsNull());
  EXPECT_EQ(Metafile().RecordCount(), 0u);
}

TEST(Metafile, WritesAndReadsFiles) {
  auto mf = Metafile::FromBytes(Sample().Finish());
  ASSERT_TRUE(mf);
  const auto path = pw::test::TempDir() / "page.emf";
  ASSERT_TRUE(mf->WriteToFile(path));
  auto again = Metafile::FromFile(path);
  ASSERT_TRUE(again) << again.error().message;
  EXPECT_TRUE(std::equal(again->Bytes().begin(), again->Bytes().end(), mf->Bytes().begin(), mf->Bytes().end()));
  EXPECT_FALSE(Metafile::FromFile(pw::test::TempDir() / "missing.emf"));
  EXPECT_FALSE(Metafile().WriteToFile(pw::test::TempDir() / "empty.emf"));
}

TEST(RecordNames, NameKnownTypesOnly) {
  EXPECT_EQ(RecordName(RecordType::Polygon16), "EMR_POLYGON16");
  EXPECT_EQ(RecordName(RecordType::CreateColorSpaceW), "EMR_CREATECOLORSPACEW");
  EXPECT_EQ(RecordName(69u), "");
  EXPECT_EQ(RecordName(1000u), "");
}

}  // namespace
}  // namespace pw::gdi
