// The report's text measured with a Qt font whose sizes are set in page units (0.01 inch).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <string_view>

#include "view/text_metrics.h"

namespace keldovar {

// The view's font carries its pixel size in page units, so its metrics are page units on every
// device; the painter's transform does the rest. A fixed-pitch font is measured by counting
// characters, which keeps laying out a hundred tables cheap.
class QtTextMetrics final : public TextMetrics {
 public:
  explicit QtTextMetrics(const QFont& font);
  int lineHeight() const override { return lineHeight_; }
  int textWidth(std::string_view text) const override;
  // The distance from a line's top to its base line.
  double ascent() const { return metrics_.ascent(); }

 private:
  QFontMetricsF metrics_;
  int lineHeight_ = 1;
  double pitch_ = 0;  // every character's advance, or 0 for a proportional font
};

}  // namespace keldovar
