// The report formatter gives the C library's bytes for every conversion the program uses.
#include "engine/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace keldovar {
namespace {

std::string ours(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string ours(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  int length = formatTo(buffer, sizeof buffer, format, args);
  va_end(args);
  return std::to_string(length) + ":" + buffer;
}

std::string theirs(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string theirs(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return std::to_string(length) + ":" + buffer;
}

// Every real conversion in the report, the dialogs, the copy text and the batch runner.
const char* const kRealFormats[] = {"%.0f",  "%8.1f",  "%6.1f",  "%2.0f", "%.1f",  "%0.2f", "%9.2f",
                                    "%8.2f", "% 9.2f", "% 8.2f", "%6.0f", "%4.1f", "%0.1f", "%0.0f",
                                    "%.10g", "% 6.1f", "%.2f",   "%5.2f", "%.3f",  "%g",    "%.6g",
                                    "%e",    "%+.2f",  "%08.2f", "%-8.2f"};

double randomReal(std::mt19937_64& random) {
  switch (random() % 6) {
    case 0: {  // any bit pattern: huge, tiny, subnormal, infinities and NaNs included
      std::uint64_t bits = random();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
    case 1:  // values on a halfway point of one, two or three decimals
      return static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) / 8.0;
    case 2:
      return std::uniform_real_distribution<double>(-1000.0, 1000.0)(random);
    case 3:
      return std::uniform_real_distribution<double>(0.0, 1.0)(random) * 1e-3;
    case 4:  // single-precision values widened, as the financial figures are
      return static_cast<double>(
          static_cast<float>(std::uniform_real_distribution<double>(-1e5, 1e5)(random)));
    default:
      return std::ldexp(std::uniform_real_distribution<double>(0.5, 1.0)(random),
                        static_cast<int>(random() % 2100) - 1050);
  }
}

TEST(TextFormat, RealsMatchTheCLibraryOverRandomValues) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 1'000'000; ++i) {
    const char* format = kRealFormats[static_cast<std::size_t>(i) % std::size(kRealFormats)];
    double value = randomReal(random);
    ASSERT_EQ(ours(format, value), theirs(format, value)) << format << " of " << value;
  }
}

TEST(TextFormat, EdgeRealsMatch) {
  const double values[] = {0.0,
                           -0.0,
                           0.5,
                           1.5,
                           2.5,
                           -2.5,
                           0.125,
                           0.375,
                           -0.001,
                           9.995,
                           999999.95,
                           0.0005,
                           0.0015,
                           0.9995,
                           2.675,
                           562949953421311.5,  // a tie just below 2^49
                           999999999999999.9,  // the largest magnitudes of integer rounding
                           1e15,
                           1.7e307,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN()};
  for (const char* format : kRealFormats) {
    for (double value : values) EXPECT_EQ(ours(format, value), theirs(format, value)) << format;
  }
}

TEST(TextFormat, IntegersTextsAndMixedLinesMatch) {
  const int ints[] = {0,
                      7,
                      -7,
                      42,
                      100,
                      -100,
                      12345,
                      std::numeric_limits<int>::max(),
                      std::numeric_limits<int>::min()};
  for (int value : ints) {
    for (const char* format : {"%d", "%3d", "%02d", "%-5d", "%+d", "% d", "%05d", "%i"}) {
      EXPECT_EQ(ours(format, value), theirs(format, value)) << format;
    }
  }
  const char* label = "Row and Low Thinning     ";
  EXPECT_EQ(ours("%-24s|%.19s|%s|%5s|%%", label, label, "", "ab"),
            theirs("%-24s|%.19s|%s|%5s|%%", label, label, "", "ab"));
  EXPECT_EQ(ours("   %2.0f   %-24s   % 8.2f     % 9.2f", 25.0, "Harvest", 1234.5, -0.004),
            theirs("   %2.0f   %-24s   % 8.2f     % 9.2f", 25.0, "Harvest", 1234.5, -0.004));
  EXPECT_EQ(ours("%*d|%.*f|%zu|%ld|%c", 6, 42, 3, 2.0 / 3.0, std::size_t{9}, -5L, 'x'),
            theirs("%*d|%.*f|%zu|%ld|%c", 6, 42, 3, 2.0 / 3.0, std::size_t{9}, -5L, 'x'));
}

TEST(TextFormat, CutsToTheBufferAndCountsTheWholeText) {
  char small[8];
  auto cut = [&](const char* format, ...) {
    va_list args;
    va_start(args, format);
    int length = formatTo(small, sizeof small, format, args);
    va_end(args);
    return length;
  };
  EXPECT_EQ(cut("%s and more", "text"), 13);
  EXPECT_STREQ(small, "text an");
  EXPECT_EQ(cut("%.2f", 3.14159), 4);
  EXPECT_STREQ(small, "3.14");
  // Conversions the formatter leaves to the C library still give its text.
  EXPECT_EQ(ours("%x|%.3d|%#.1f", 255u, 7, 2.0), theirs("%x|%.3d|%#.1f", 255u, 7, 2.0));
}

}  // namespace
}  // namespace keldovar
