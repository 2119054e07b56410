// The 60-byte font file and the font size commands.
#include "view/font_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace keldovar::testing {
namespace {

std::int32_t int32At(const std::array<std::uint8_t, kFontFileSize>& b, std::size_t at) {
  return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                   static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(FontFile, SixtyBytesInTheirOrderAndBack) {
  FontDescription font;
  font.charSet = 1;
  font.clipPrecision = 2;
  font.escapement = -3;
  font.height = 31;
  font.italic = 1;
  font.orientation = 900;
  font.weight = 700;
  font.width = 17;
  auto bytes = writeFontFile(font);
  EXPECT_EQ(std::make_tuple(bytes[0], bytes[1], int32At(bytes, 2), int32At(bytes, 6), bytes[10]),
            std::make_tuple(1, 2, -3, 31, 1));
  EXPECT_EQ(int32At(bytes, 11), 900);
  EXPECT_EQ(std::make_tuple(bytes[15], bytes[16], bytes[17], bytes[18], bytes[19]),
            std::make_tuple(4, 53, 2, 0, 0));
  EXPECT_EQ(std::make_tuple(int32At(bytes, 20), int32At(bytes, 24)), std::make_tuple(700, 17));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[28])), "Courier New");
  EXPECT_EQ(bytes[59], 0);
  EXPECT_EQ(readFontFile(bytes), font);

  font.faceName = std::string(40, 'x');  // cut to 31 bytes and its NUL
  auto back = readFontFile(writeFontFile(font));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->faceName, std::string(31, 'x'));
}

TEST(FontFile, ADamagedFileIsIgnored) {
  auto good = writeFontFile(FontDescription{});
  std::vector<std::uint8_t> longer(good.begin(), good.end());
  longer.push_back(0);
  EXPECT_FALSE(readFontFile(longer).has_value());
  EXPECT_FALSE(readFontFile(std::span(good).first(59)).has_value());
  auto unterminated = good;
  std::fill(unterminated.begin() + 28, unterminated.end(), 'A');
  EXPECT_FALSE(readFontFile(unterminated).has_value());
  for (int height : {0, 5, 201, 10000, -28}) {
    FontDescription font;
    font.height = height;
    EXPECT_FALSE(readFontFile(writeFontFile(font)).has_value()) << height;
  }
  for (int height : {6, 200}) {
    FontDescription font;
    font.height = height;
    EXPECT_TRUE(readFontFile(writeFontFile(font)).has_value()) << height;
  }
}

TEST(FontFile, DecreaseStopsAtTheLowerBoundIncreaseAtTheLargestReadable) {
  FontDescription font;
  font.height = 19;
  font.width = 11;
  EXPECT_TRUE(decreaseFontSize(font));
  EXPECT_EQ(std::make_tuple(font.height, font.width), std::make_tuple(18, 10));
  EXPECT_FALSE(decreaseFontSize(font));
  EXPECT_EQ(std::make_tuple(font.height, font.width), std::make_tuple(18, 10));
  EXPECT_TRUE(increaseFontSize(font));
  EXPECT_EQ(std::make_tuple(font.height, font.width), std::make_tuple(19, 11));
  font.height = kMaxFontHeight;
  EXPECT_FALSE(increaseFontSize(font));
  EXPECT_TRUE(readFontFile(writeFontFile(font)).has_value());
}

// Fit Width's search among the sizes Increase and Decrease reach: the largest that fits, or the
// smallest when none does.
TEST(FontFile, FittingSteps) {
  struct Case {
    int height;    // the current font's
    int fitsUpTo;  // the largest height that fits
    int steps;
  };
  const Case cases[] = {
      {28, 35, 7}, {28, 28, 0},  {28, 20, -8}, {28, 5, -10}, {28, 500, kMaxFontHeight - 28},
      {15, 10, 0}, {15, 40, 25},
  };
  for (const Case& c : cases) {
    FontDescription font;
    font.height = c.height;
    int steps =
        fittingSteps(font, [&c](const FontDescription& f) { return f.height <= c.fitsUpTo; });
    EXPECT_EQ(steps, c.steps) << c.height << " " << c.fitsUpTo;
  }
}

}  // namespace
}  // namespace keldovar::testing
