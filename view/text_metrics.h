// How the layout measures text: the one seam between the report arithmetic and a font.
#pragma once

#include <string_view>

namespace keldovar {

// The height line measuring uses: one text line of the report.
inline constexpr std::string_view kLineHeightSample = "22288822.2288";

// Sizes in logical units of 0.01 inch. The desktop program answers with the font's metrics on
// the painter's device; tests use fixed ones.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // The height of kLineHeightSample.
  virtual int lineHeight() const = 0;
  virtual int textWidth(std::string_view text) const = 0;
};

// Every character the same width: the report's fixed-pitch font without a device.
class FixedPitchMetrics final : public TextMetrics {
 public:
  FixedPitchMetrics(int lineHeight, int charWidth)
      : lineHeight_(lineHeight), charWidth_(charWidth) {}
  int lineHeight() const override { return lineHeight_; }
  int textWidth(std::string_view text) const override {
    return static_cast<int>(text.size()) * charWidth_;
  }

 private:
  int lineHeight_;
  int charWidth_;
};

}  // namespace keldovar
