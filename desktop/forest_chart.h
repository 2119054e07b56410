// The forest's standing tons by product and its removals, year by year, as bars: what the
// prescription leaves standing and what it cuts.
#pragma once

#include <QWidget>
#include <vector>

#include "forest/forest_totals.h"

namespace keldovar {

class ForestChart final : public QWidget {
  Q_OBJECT
 public:
  explicit ForestChart(QWidget* parent = nullptr);
  void setYears(std::vector<forest::ForestYear> years);
  const std::vector<forest::ForestYear>& years() const { return years_; }
  QSize sizeHint() const override { return {520, 300}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<forest::ForestYear> years_;
};

}  // namespace keldovar
