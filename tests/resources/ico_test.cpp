// Checks the committed Windows icon file: its directory, every image's
// bitmap header, the masks and the colours the palette images end up with.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "bytes.h"

namespace pigmo::test {
namespace {

constexpr std::size_t kDirHeaderSize = 6;
constexpr std::size_t kDirEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

struct DirEntry {
  int width = 0;   // 0 stands for 256
  int height = 0;
  int colourCount = 0;
  int reserved = 0;
  int planes = 0;
  int bitCount = 0;
  std::uint32_t bytes = 0;
  std::uint32_t offset = 0;
};

struct Directory {
  int reserved = 0;
  int type = 0;
  std::vector<DirEntry> entries;
};

Directory readDirectory(const Bytes& file) {
  Directory dir;
  dir.reserved = le16(file, 0);
  dir.type = le16(file, 2);
  const int count = le16(file, 4);
  for (int i = 0; i < count; ++i) {
    const std::size_t at = kDirHeaderSize + kDirEntrySize * static_cast<std::size_t>(i);
    require(file, at, kDirEntrySize);
    DirEntry e;
    e.width = file[at];
    e.height = file[at + 1];
    e.colourCount = file[at + 2];
    e.reserved = file[at + 3];
    e.planes = le16(file, at + 4);
    e.bitCount = le16(file, at + 6);
    e.bytes = le32(file, at + 8);
    e.offset = le32(file, at + 12);
    dir.entries.push_back(e);
  }
  return dir;
}

struct InfoHeader {
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int planes = 0;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::uint32_t clrUsed = 0;
};

InfoHeader readInfoHeader(const Bytes& file, std::size_t at) {
  require(file, at, kInfoHeaderSize);
  InfoHeader h;
  h.size = le32(file, at);
  h.width = le32s(file, at + 4);
  h.height = le32s(file, at + 8);
  h.planes = le16(file, at + 12);
  h.bitCount = le16(file, at + 14);
  h.compression = le32(file, at + 16);
  h.sizeImage = le32(file, at + 20);
  h.clrUsed = le32(file, at + 32);
  return h;
}

std::size_t paletteEntries(const InfoHeader& h) {
  if (h.bitCount > 8) return h.clrUsed;
  return h.clrUsed != 0 ? h.clrUsed : std::size_t{1} << h.bitCount;
}

// Rows of a DIB are padded to 32 bits.
std::size_t stride(int width, int bits) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

using Rgba = std::array<int, 4>;

// One image as it shows: RGBA per pixel (top row first), the AND mask, and
// for palette images the palette index per pixel.
struct Decoded {
  int size = 0;
  int bits = 0;
  std::vector<Rgba> pixels;
  std::vector<bool> masked;
  std::vector<int> index;
  std::vector<Rgba> palette;
};

Decoded decode(const Bytes& file, const DirEntry& e) {
  const InfoHeader h = readInfoHeader(file, e.offset);
  Decoded d;
  d.size = h.width;
  d.bits = h.bitCount;
  const int n = h.width;
  std::size_t at = e.offset + h.size;
  for (std::size_t i = 0; i < paletteEntries(h); ++i, at += 4) {
    require(file, at, 4);
    d.palette.push_back({file[at + 2], file[at + 1], file[at], 255});
  }
  const std::size_t xorStride = stride(n, h.bitCount);
  const std::size_t andStride = stride(n, 1);
  const std::size_t andAt = at + xorStride * static_cast<std::size_t>(n);
  require(file, andAt, andStride * static_cast<std::size_t>(n));
  for (int y = 0; y < n; ++y) {
    // Bottom-up rows.
    const std::size_t row = at + xorStride * static_cast<std::size_t>(n - 1 - y);
    const std::size_t maskRow = andAt + andStride * static_cast<std::size_t>(n - 1 - y);
    for (int x = 0; x < n; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      d.masked.push_back((file[maskRow + ux / 8] & (0x80 >> (ux % 8))) != 0);
      if (h.bitCount == 32) {
        const std::size_t p = row + 4 * ux;
        d.pixels.push_back({file[p + 2], file[p + 1], file[p], file[p + 3]});
        continue;
      }
      int idx = 0;
      if (h.bitCount == 8) {
        idx = file[row + ux];
      } else {
        idx = (file[row + ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 0x0F;
      }
      d.index.push_back(idx);
      d.pixels.push_back(idx < static_cast<int>(d.palette.size()) ? d.palette[static_cast<std::size_t>(idx)]
                                                                   : Rgba{-1, -1, -1, -1});
    }
  }
  return d;
}

class IcoFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = readFile(PIGMO_ICO_FILE);
    dir_ = readDirectory(file_);
  }

  // The directory entry for one size and depth, or null.
  const DirEntry* find(int size, int bits) const {
    for (const DirEntry& e : dir_.entries)
      if (e.width == size % 256 && e.height == size % 256 && e.bitCount == bits) return &e;
    return nullptr;
  }

  Bytes file_;
  Directory dir_;
};

const std::vector<int> kSizes = {16, 32, 48};
const std::vector<int> kDepths = {4, 8, 32};

TEST_F(IcoFileTest, DirectoryIsAnIconWithNineImages) {
  EXPECT_EQ(dir_.reserved, 0);
  EXPECT_EQ(dir_.type, 1) << "1 is an icon, 2 a cursor";
  EXPECT_EQ(dir_.entries.size(), 9u);
}

TEST_F(IcoFileTest, HoldsEverySizeAtEveryDepthExactlyOnce) {
  std::multiset<std::tuple<int, int, int>> found;
  for (const DirEntry& e : dir_.entries) found.insert({e.width, e.height, e.bitCount});
  std::multiset<std::tuple<int, int, int>> expected;
  for (int size : kSizes)
    for (int bits : kDepths) expected.insert({size, size, bits});
  EXPECT_EQ(found, expected);
}

TEST_F(IcoFileTest, EntryFieldsAreConsistent) {
  for (const DirEntry& e : dir_.entries) {
    SCOPED_TRACE(std::to_string(e.width) + " px, " + std::to_string(e.bitCount) + " bpp");
    EXPECT_EQ(e.reserved, 0);
    EXPECT_EQ(e.planes, 1);
    // The colour count is the palette size below 8 bpp and 0 from 8 bpp on.
    EXPECT_EQ(e.colourCount, e.bitCount == 4 ? 16 : 0);
  }
}

TEST_F(IcoFileTest, ImagesLieInsideTheFileWithoutOverlapping) {
  const std::size_t directoryEnd = kDirHeaderSize + kDirEntrySize * dir_.entries.size();
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  for (const DirEntry& e : dir_.entries) {
    SCOPED_TRACE(std::to_string(e.width) + " px, " + std::to_string(e.bitCount) + " bpp");
    EXPECT_GE(e.offset, directoryEnd);
    EXPECT_GT(e.bytes, kInfoHeaderSize);
    EXPECT_LE(std::size_t{e.offset} + e.bytes, file_.size());
    ranges.emplace_back(e.offset, std::size_t{e.offset} + e.bytes);
  }
  std::sort(ranges.begin(), ranges.end());
  for (std::size_t i = 1; i < ranges.size(); ++i)
    EXPECT_LE(ranges[i - 1].second, ranges[i].first) << "images " << i - 1 << " and " << i << " overlap";
  ASSERT_FALSE(ranges.empty());
  EXPECT_EQ(ranges.back().second, file_.size()) << "trailing bytes after the last image";
}

// --- Per image ----------------------------------------------------------------

class IcoImageTest : public IcoFileTest, public ::testing::WithParamInterface<std::tuple<int, int>> {
 protected:
  int size() const { return std::get<0>(GetParam()); }
  int bits() const { return std::get<1>(GetParam()); }
};

TEST_P(IcoImageTest, BitmapHeaderMatchesTheDirectoryEntry) {
  const DirEntry* e = find(size(), bits());
  ASSERT_NE(e, nullptr);
  const InfoHeader h = readInfoHeader(file_, e->offset);
  EXPECT_EQ(h.size, kInfoHeaderSize);
  EXPECT_EQ(h.width, size());
  EXPECT_EQ(h.height, 2 * size()) << "the height counts the XOR bitmap and the AND mask";
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, bits());
  EXPECT_EQ(h.compression, 0u) << "BI_RGB";

  const std::size_t palette = paletteEntries(h);
  if (bits() <= 8) {
    EXPECT_GE(palette, 1u);
    EXPECT_LE(palette, std::size_t{1} << bits());
  } else {
    EXPECT_EQ(palette, 0u);
  }
  const std::size_t pixelBytes =
      (stride(size(), bits()) + stride(size(), 1)) * static_cast<std::size_t>(size());
  EXPECT_TRUE(h.sizeImage == 0 || h.sizeImage == pixelBytes) << h.sizeImage;
  EXPECT_EQ(e->bytes, kInfoHeaderSize + 4 * palette + pixelBytes);
}

TEST_P(IcoImageTest, ShowsSomePixelsAndMasksOthers) {
  const DirEntry* e = find(size(), bits());
  ASSERT_NE(e, nullptr);
  const Decoded d = decode(file_, *e);
  const auto masked = std::count(d.masked.begin(), d.masked.end(), true);
  EXPECT_GT(masked, 0);
  EXPECT_LT(masked, static_cast<long>(d.masked.size()));
}

TEST_P(IcoImageTest, MaskMatchesTheAlphaOfThe32BitImage) {
  const DirEntry* e = find(size(), bits());
  const DirEntry* full = find(size(), 32);
  ASSERT_NE(e, nullptr);
  ASSERT_NE(full, nullptr);
  const Decoded d = decode(file_, *e);
  const Decoded ref = decode(file_, *full);
  ASSERT_EQ(d.masked.size(), ref.pixels.size());
  int mismatches = 0;
  for (std::size_t i = 0; i < ref.pixels.size(); ++i) {
    const int alpha = ref.pixels[i][3];
    // Fully transparent must be masked, fully opaque must not; edge pixels
    // may go either way.
    if ((alpha == 0 && !d.masked[i]) || (alpha == 255 && d.masked[i])) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
}

std::string imageName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  return "px" + std::to_string(std::get<0>(info.param)) + "_bpp" + std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllImages, IcoImageTest,
                         ::testing::Combine(::testing::ValuesIn(kSizes), ::testing::ValuesIn(kDepths)),
                         imageName);

// --- Palette images -------------------------------------------------------------

class IcoPaletteImageTest : public IcoImageTest {};

TEST_P(IcoPaletteImageTest, HasTheSameOutlineAsThe32BitImage) {
  const DirEntry* e = find(size(), bits());
  const DirEntry* full = find(size(), 32);
  ASSERT_NE(e, nullptr);
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(decode(file_, *e).masked, decode(file_, *full).masked);
}

TEST_P(IcoPaletteImageTest, UsesValidIndicesAndBlackUnderTheMask) {
  const DirEntry* e = find(size(), bits());
  ASSERT_NE(e, nullptr);
  const Decoded d = decode(file_, *e);
  ASSERT_EQ(d.index.size(), d.masked.size());
  for (std::size_t i = 0; i < d.index.size(); ++i) {
    ASSERT_LT(d.index[i], static_cast<int>(d.palette.size())) << "pixel " << i;
    // Drawn as AND then XOR, a masked pixel is only transparent when its
    // colour is black.
    if (d.masked[i]) {
      const Rgba& c = d.palette[static_cast<std::size_t>(d.index[i])];
      EXPECT_EQ((std::array<int, 3>{c[0], c[1], c[2]}), (std::array<int, 3>{0, 0, 0})) << "pixel " << i;
    }
  }
}

TEST_P(IcoPaletteImageTest, KeepsTheColoursOfThe32BitImage) {
  const DirEntry* e = find(size(), bits());
  const DirEntry* full = find(size(), 32);
  ASSERT_NE(e, nullptr);
  ASSERT_NE(full, nullptr);
  const Decoded d = decode(file_, *e);
  const Decoded ref = decode(file_, *full);
  double error = 0;
  int shown = 0;
  for (std::size_t i = 0; i < d.pixels.size(); ++i) {
    if (d.masked[i]) continue;
    for (int c = 0; c < 3; ++c) error += std::abs(d.pixels[i][static_cast<std::size_t>(c)] - ref.pixels[i][static_cast<std::size_t>(c)]);
    ++shown;
  }
  ASSERT_GT(shown, 0);
  // Mean error per channel; a swapped channel order or nibble order is far
  // above these.
  const double limit = bits() == 4 ? 12.0 : 3.0;
  EXPECT_LE(error / (3.0 * shown), limit);
}

INSTANTIATE_TEST_SUITE_P(Palette, IcoPaletteImageTest,
                         ::testing::Combine(::testing::ValuesIn(kSizes), ::testing::Values(4, 8)), imageName);

// --- The picture ----------------------------------------------------------------

struct Hsv {
  double h;  // degrees
  double s;
  double v;
};

Hsv toHsv(const Rgba& p) {
  const double r = p[0] / 255.0, g = p[1] / 255.0, b = p[2] / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double delta = mx - mn;
  double h = 0;
  if (delta > 0) {
    if (mx == r) h = 60 * std::fmod((g - b) / delta + 6, 6.0);
    else if (mx == g) h = 60 * ((b - r) / delta + 2);
    else h = 60 * ((r - g) / delta + 4);
  }
  return {h, mx > 0 ? delta / mx : 0, mx};
}

struct Paint {
  const char* name;
  bool (*matches)(const Hsv&);
};

// The colours the icon shows: the beige board, the four paints and the
// brush's blue handle.
const Paint kPaints[] = {
    {"beige", [](const Hsv& c) { return c.h >= 25 && c.h <= 55 && c.s >= 0.15 && c.s <= 0.5 && c.v >= 0.75; }},
    {"blue", [](const Hsv& c) { return c.h >= 200 && c.h <= 240 && c.s >= 0.5 && c.v >= 0.5; }},
    {"red", [](const Hsv& c) { return (c.h >= 345 || c.h <= 15) && c.s >= 0.5 && c.v >= 0.5; }},
    {"green", [](const Hsv& c) { return c.h >= 100 && c.h <= 150 && c.s >= 0.5 && c.v >= 0.4; }},
    {"grey", [](const Hsv& c) { return c.s <= 0.08 && c.v >= 0.35 && c.v <= 0.75; }},
};

class IcoTrueColourTest : public IcoFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(IcoTrueColourTest, HasRealAlpha) {
  const DirEntry* e = find(GetParam(), 32);
  ASSERT_NE(e, nullptr);
  const Decoded d = decode(file_, *e);
  const auto count = [&](auto pred) { return std::count_if(d.pixels.begin(), d.pixels.end(), pred); };
  EXPECT_GT(count([](const Rgba& p) { return p[3] == 0; }), 0) << "no transparent background";
  EXPECT_GT(count([](const Rgba& p) { return p[3] == 255; }), 0) << "nothing opaque";
  EXPECT_GT(count([](const Rgba& p) { return p[3] > 0 && p[3] < 255; }), 0) << "no smoothed edges";
}

TEST_P(IcoTrueColourTest, ShowsEveryColourOfThePaletteAndBrush) {
  const DirEntry* e = find(GetParam(), 32);
  ASSERT_NE(e, nullptr);
  const Decoded d = decode(file_, *e);
  std::vector<Hsv> opaque;
  for (const Rgba& p : d.pixels)
    if (p[3] == 255) opaque.push_back(toHsv(p));
  ASSERT_FALSE(opaque.empty());
  for (const Paint& paint : kPaints) {
    const auto n = std::count_if(opaque.begin(), opaque.end(), paint.matches);
    // Each colour is a clearly visible part of the picture, not a stray pixel.
    EXPECT_GE(static_cast<double>(n), 0.03 * static_cast<double>(opaque.size())) << paint.name;
  }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, IcoTrueColourTest, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<int>& info) { return "px" + std::to_string(info.param); });

}  // namespace
}  // namespace pigmo::test
