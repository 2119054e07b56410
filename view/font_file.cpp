// Writing and reading the font description file, field by field.
#include "view/font_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace keldovar {
namespace {

template <class Io, class Font>
void exchangeFont(Io& io, Font& f) {
  io.u8(f.charSet);
  io.u8(f.clipPrecision);
  io.i32(f.escapement);
  io.i32(f.height);
  io.u8(f.italic);
  io.i32(f.orientation);
  io.u8(f.outPrecision);
  io.u8(f.pitchAndFamily);
  io.u8(f.quality);
  io.u8(f.strikeOut);
  io.u8(f.underline);
  io.i32(f.weight);
  io.i32(f.width);
  io.face(f.faceName);
}

class Writer {
 public:
  void u8(std::uint8_t v) { bytes[pos++] = v; }
  void i32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) u8(static_cast<std::uint8_t>(u >> shift));
  }
  void face(const std::string& name) {
    std::size_t n = std::min(name.size(), kFaceNameBytes - 1);
    std::memcpy(&bytes[pos], name.data(), n);  // the rest stays NUL
    pos += kFaceNameBytes;
  }
  std::array<std::uint8_t, kFontFileSize> bytes{};
  std::size_t pos = 0;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  void u8(std::uint8_t& v) { v = data_[pos_++]; }
  void i32(std::int32_t& v) {
    std::uint32_t u = 0;
    for (int shift = 0; shift < 32; shift += 8) u |= std::uint32_t{data_[pos_++]} << shift;
    v = static_cast<std::int32_t>(u);
  }
  void face(std::string& name) {
    const auto* text = reinterpret_cast<const char*>(&data_[pos_]);
    std::size_t n = strnlen(text, kFaceNameBytes);
    terminated_ = n < kFaceNameBytes;
    name.assign(text, n);
    pos_ += kFaceNameBytes;
  }
  bool terminated() const { return terminated_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool terminated_ = false;
};

bool inRange(std::int32_t value, int low, int high) {
  return value >= low && value <= high;
}

}  // namespace

std::array<std::uint8_t, kFontFileSize> writeFontFile(const FontDescription& font) {
  Writer writer;
  exchangeFont(writer, font);
  return writer.bytes;
}

std::optional<FontDescription> readFontFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kFontFileSize) return std::nullopt;
  Reader reader(bytes);
  FontDescription font;
  exchangeFont(reader, font);
  if (!reader.terminated() || !inRange(font.height, kMinFontHeight, kMaxFontHeight) ||
      !inRange(font.width, 0, kMaxFontHeight)) {
    return std::nullopt;
  }
  return font;
}

bool increaseFontSize(FontDescription& font) {
  if (font.height >= kMaxFontHeight) return false;
  ++font.height;
  font.width = std::min(font.width + 1, kMaxFontHeight);
  return true;
}

bool decreaseFontSize(FontDescription& font) {
  if (font.height < kDecreasableHeight) return false;
  --font.height;
  font.width = std::max(font.width - 1, 0);
  return true;
}

int fittingSteps(const FontDescription& font,
                 const std::function<bool(const FontDescription&)>& fits) {
  // Every size the commands reach, smallest first: at most kMaxFontHeight of them.
  std::vector<FontDescription> sizes;
  for (FontDescription smaller = font; decreaseFontSize(smaller);) sizes.push_back(smaller);
  std::reverse(sizes.begin(), sizes.end());
  const auto current = static_cast<int>(sizes.size());
  sizes.push_back(font);
  for (FontDescription larger = font; increaseFontSize(larger);) sizes.push_back(larger);
  // The first size that does not fit; the one below it is the answer.
  std::size_t low = 0;
  std::size_t high = sizes.size();
  while (low < high) {
    std::size_t middle = low + (high - low) / 2;
    if (fits(sizes[middle])) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return std::max(static_cast<int>(low) - 1, 0) - current;
}

}  // namespace keldovar
