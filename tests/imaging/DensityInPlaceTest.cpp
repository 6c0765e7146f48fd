#include <gtest/gtest.h>

#include "ImagingTestSupport.h"
#include "imaging/codec/DensityInPlace.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoDensity.h"

namespace trawlix {
namespace {

using DensityInPlaceTest = testing::PhotoTest;

// A download gets the resolution in its own bytes: the same bytes a copy with the planned
// edits would hold, pixels untouched; a GIF stays as it is.
TEST_F(DensityInPlaceTest, EditsTheFileWhereItLies) {
  for (const PhotoFormat format : {PhotoFormat::Jpeg, PhotoFormat::Png, PhotoFormat::Tif,
                                   PhotoFormat::Bmp, PhotoFormat::Gif}) {
    SCOPED_TRACE(static_cast<int>(format));
    const std::string path = Path("photo" + std::to_string(static_cast<int>(format)));
    testing::WritePhoto(path, format, 40, 30, testing::PhotoKind::Opaque);
    const std::string before = testing::ReadBytes(path);
    const std::string pixels = testing::DecodedPixels(path);
    const auto edits = PlanDensityEdits(MemoryByteSource(before), format, 300);
    ASSERT_TRUE(edits);

    ASSERT_EQ(WriteDensityInPlace(path, 300), DensityEdit::Written);
    EXPECT_EQ(testing::ReadBytes(path), ApplyEdits(MemoryByteSource(before), *edits));
    EXPECT_EQ(testing::DecodedPixels(path), pixels);
    if (format != PhotoFormat::Gif) {
      EXPECT_NEAR(testing::DpiOf(path), 300.0, 0.01);
    }
  }
  // A TIFF without resolution tags gets a new first directory at its end.
  for (const bool bigEndian : {false, true}) {
    const std::string path = Path(bigEndian ? "mm.tif" : "ii.tif");
    testing::WriteBytes(path, testing::MinimalTiff(bigEndian, false));
    const std::string before = testing::ReadBytes(path);
    const auto edits = PlanDensityEdits(MemoryByteSource(before), PhotoFormat::Tif, 300);
    ASSERT_TRUE(edits);
    ASSERT_EQ(WriteDensityInPlace(path, 300), DensityEdit::Written);
    EXPECT_EQ(testing::ReadBytes(path), ApplyEdits(MemoryByteSource(before), *edits));
    EXPECT_NEAR(testing::DpiOf(path), 300.0, 0.01);
  }
}

TEST_F(DensityInPlaceTest, WhatItCannotEditStaysUnchanged) {
  const std::string text = Path("notes.jpg");
  testing::WriteBytes(text, "not a photo at all");
  EXPECT_EQ(WriteDensityInPlace(text, 300), DensityEdit::NotInPlace);
  EXPECT_EQ(testing::ReadBytes(text), "not a photo at all");
  EXPECT_EQ(WriteDensityInPlace(Path("missing.jpg"), 300), DensityEdit::NotInPlace);
}

}  // namespace
}  // namespace trawlix
