// Text measuring for the layout pass through Qt's font metrics.
#include "view/qt/qt_text_metrics.h"

#include <QtMath>

#include "view/qt/qt_text.h"

namespace keldovar {

QtTextMetrics::QtTextMetrics(const QFont& font) : metrics_(font) {
  // The height of kLineHeightSample is the font's cell, whatever the digits' ink.
  lineHeight_ = qMax(qRound(metrics_.height()), 1);
  // Narrow, wide and blank characters alike: then every character has the one advance.
  double narrow = metrics_.horizontalAdvance(QLatin1Char('i'));
  if (narrow == metrics_.horizontalAdvance(QLatin1Char('W')) &&
      narrow == metrics_.horizontalAdvance(QLatin1Char(' ')) &&
      narrow == metrics_.horizontalAdvance(QLatin1Char('.'))) {
    pitch_ = narrow;
  }
}

int QtTextMetrics::textWidth(std::string_view text) const {
  if (pitch_ > 0) return qRound(pitch_ * static_cast<double>(text.size()));
  return qRound(metrics_.horizontalAdvance(fromLatin1(text)));
}

}  // namespace keldovar
