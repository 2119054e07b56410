// The JSON writer: strings escaped byte by byte as the rule says wherever the byte stands among
// plain ones, numbers in shortest forms that read back as the same values, and the two layouts.
#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>

namespace keldovar::cli {
namespace {

std::string escapedOneByOne(std::string_view text) {
  std::string out = "\"";
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n' || c == '\r' || c == '\t') {
      out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", c);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

TEST(JsonWriter, EscapesEveryByteThatNeedsItWhereverItStands) {
  for (int byte = 0; byte < 256; ++byte) {
    for (std::size_t at = 0; at < 19; ++at) {
      std::string text = "Removed 45.5 tons x";
      text[at] = static_cast<char>(byte);
      std::string out;
      appendJsonString(out, text);
      ASSERT_EQ(out, escapedOneByOne(text)) << byte << " at " << at;
    }
  }
}

TEST(JsonWriter, NumbersReadBackAsTheSameValues) {
  std::mt19937_64 random(2323);
  for (int i = 0; i < 200000; ++i) {
    auto single = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    auto wide = std::bit_cast<double>(random());
    for (bool narrow : {true, false}) {
      std::string out;
      narrow ? appendJsonNumber(out, single) : appendJsonNumber(out, wide);
      if (narrow ? !std::isfinite(single) : !std::isfinite(wide)) {
        EXPECT_EQ(out, "null");
        continue;
      }
      float f = 0;
      double d = 0;
      auto back = narrow ? std::from_chars(out.data(), out.data() + out.size(), f)
                         : std::from_chars(out.data(), out.data() + out.size(), d);
      ASSERT_EQ(back.ptr, out.data() + out.size()) << out;
      EXPECT_TRUE(narrow ? std::bit_cast<std::uint32_t>(f) == std::bit_cast<std::uint32_t>(single)
                         : std::bit_cast<std::uint64_t>(d) == std::bit_cast<std::uint64_t>(wide))
          << out;
    }
  }
  // Read as a double and narrowed, a float's text reads back as the float too: the shortest
  // form of 7.038531e-26 would not.
  for (std::uint32_t bits : {0x15ae43fdU, 0x95ae43fdU, 0x42c8b333U}) {
    std::string out;
    appendJsonNumber(out, std::bit_cast<float>(bits));
    double d = 0;
    std::from_chars(out.data(), out.data() + out.size(), d);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(static_cast<float>(d)), bits) << out;
  }
  std::string out;
  for (float v : {0.0f, -0.0f, 25.0f, 9999.0f, 10000.0f, 1e6f, 0.5f}) {
    appendJsonNumber(out, v);
    out += ' ';
  }
  EXPECT_EQ(out, "0 -0 25 9999 10000 1e+06 0.5 ");
}

TEST(JsonWriter, OneLineIsThePrettyTextWithoutItsBreaks) {
  for (JsonLayout layout : {JsonLayout::Pretty, JsonLayout::Line}) {
    std::string out;
    JsonWriter json(out, layout);
    json.raw("{").newline(2).raw("\"a\": [").newline(4).raw("{\"b\": ").number(1.5);
    json.raw("},").newline(4).string("c").newline(2).raw("],").newline(2).raw("\"d\": ");
    json.null().newline(0).raw("}");
    EXPECT_EQ(out, layout == JsonLayout::Pretty
                       ? "{\n  \"a\": [\n    {\"b\": 1.5},\n    \"c\"\n  ],\n  \"d\": null\n}"
                       : "{\"a\": [{\"b\": 1.5}, \"c\"], \"d\": null}");
  }
}

}  // namespace
}  // namespace keldovar::cli
