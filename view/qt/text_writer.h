// Writing the report's texts with their top at a page position, in one ink.
#pragma once

#include <QPainter>
#include <string_view>

#include "view/qt/qt_text.h"
#include "view/qt/qt_text_metrics.h"
#include "view/qt/report_painter.h"

namespace keldovar {

class TextWriter {
 public:
  TextWriter(QPainter& painter, const QtTextMetrics& metrics, int lineHeight)
      : painter_(painter), metrics_(metrics), h_(lineHeight) {}

  void write(double x, double y, std::string_view text, const Ink& ink) const {
    if (ink.opaque) {
      painter_.fillRect(QRectF(x, y, metrics_.textWidth(text), h_), ink.back);
    }
    painter_.setPen(ink.text);
    painter_.drawText(QPointF(x, y + metrics_.ascent()), fromLatin1(text));
  }
  // Centred across and down a box.
  void centre(const QRectF& box, std::string_view text, const Ink& ink) const {
    double x = box.x() + (box.width() - metrics_.textWidth(text)) / 2.0;
    double y = box.y() + (box.height() - h_) / 2.0;
    write(x, y, text, ink);
  }

 private:
  QPainter& painter_;
  const QtTextMetrics& metrics_;
  int h_;
};

}  // namespace keldovar
