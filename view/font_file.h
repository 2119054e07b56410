// The report font's description and its 60-byte file, "def_Font.bin", in the application folder.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace keldovar {

inline constexpr const char* kFontFileName = "def_Font.bin";
inline constexpr std::size_t kFontFileSize = 60;
inline constexpr std::size_t kFaceNameBytes = 32;  // at most 31 characters and a NUL
// Heights a font file may carry; anything else is a damaged or foreign file.
inline constexpr int kMinFontHeight = 6;
inline constexpr int kMaxFontHeight = 200;
// Decrease Font Size makes smaller only a font at least this high.
inline constexpr int kDecreasableHeight = 19;

// The fields of a standard font description, in the file's order. Heights and widths are in
// the report's logical units.
struct FontDescription {
  std::uint8_t charSet = 0;
  std::uint8_t clipPrecision = 0;
  std::int32_t escapement = 0;
  std::int32_t height = 28;
  std::uint8_t italic = 0;
  std::int32_t orientation = 0;
  std::uint8_t outPrecision = 4;
  std::uint8_t pitchAndFamily = 53;
  std::uint8_t quality = 2;
  std::uint8_t strikeOut = 0;
  std::uint8_t underline = 0;
  std::int32_t weight = 400;
  std::int32_t width = 16;
  std::string faceName = "Courier New";
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// The file's bytes, little-endian; a longer face name is cut to 31 bytes.
std::array<std::uint8_t, kFontFileSize> writeFontFile(const FontDescription& font);
// The description a file holds, or nothing for a file of another size, a face name without its
// NUL, or a height or width out of range: such a file is ignored like a missing one.
std::optional<FontDescription> readFontFile(std::span<const std::uint8_t> bytes);

// Increase and Decrease Font Size: height and width one unit up or down; true when the font
// changed. Decrease leaves a font lower than kDecreasableHeight alone, and Increase stops at
// kMaxFontHeight so that the file written afterwards is read back.
bool increaseFontSize(FontDescription& font);
bool decreaseFontSize(FontDescription& font);

// Fit Width: how many Increase (positive) or Decrease (negative) steps from `font` reach the
// largest size, among those the two commands reach, for which `fits` holds; the smallest size
// when none fits. `fits` must hold for every size below one that fits.
int fittingSteps(const FontDescription& font,
                 const std::function<bool(const FontDescription&)>& fits);

}  // namespace keldovar
