// Checks the header of the committed PNG icons, which the Qt window embeds
// and the Linux install puts into the hicolor theme.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "bytes.h"

namespace pigmo::test {
namespace {

std::uint32_t crc32(const Bytes& data, std::size_t from, std::size_t count) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < from + count; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

struct PngCase {
  const char* path;
  std::uint32_t size;
};

void PrintTo(const PngCase& c, std::ostream* os) { *os << c.path; }

class PngIconTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngIconTest, HeaderIsASquareRgbaImageOfTheNamedSize) {
  const Bytes png = readFile(GetParam().path);
  const std::array<std::uint8_t, 8> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  require(png, 0, 8 + 8 + 13 + 4);
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin())) << "not a PNG";

  // IHDR must be the first chunk.
  EXPECT_EQ(be32(png, 8), 13u) << "IHDR length";
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(be32(png, 16), GetParam().size) << "width";
  EXPECT_EQ(be32(png, 20), GetParam().size) << "height";
  EXPECT_EQ(png[24], 8) << "bit depth";
  EXPECT_EQ(png[25], 6) << "colour type: RGB with alpha";
  EXPECT_EQ(png[26], 0) << "compression";
  EXPECT_EQ(png[27], 0) << "filter method";
  EXPECT_EQ(png[28], 0) << "interlace";
  EXPECT_EQ(be32(png, 29), crc32(png, 12, 4 + 13)) << "IHDR checksum";
}

INSTANTIATE_TEST_SUITE_P(Sizes, PngIconTest,
                         ::testing::Values(PngCase{PIGMO_PNG16_FILE, 16}, PngCase{PIGMO_PNG32_FILE, 32},
                                           PngCase{PIGMO_PNG48_FILE, 48}),
                         [](const ::testing::TestParamInfo<PngCase>& info) {
                           return "px" + std::to_string(info.param.size);
                         });

}  // namespace
}  // namespace pigmo::test
