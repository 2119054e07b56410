// The forest view's two tables as Qt models: the inventory's stands with how each ran and its
// carried columns (sortable by number where a column holds numbers), and the forest by year.
#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <vector>

#include "forest/forest_totals.h"
#include "forest/inventory.h"
#include "forest/stand_result.h"

namespace keldovar {

// What the stands table shows of a stand's run.
struct StandOutcome {
  bool ok = false;
  std::optional<int> rotation;
  std::optional<double> npv;  // sawtimber+pulpwood management, $/acre
  std::optional<double> lev;
  std::optional<double> irr;  // percent
  QString message;            // the first message of the run
};

StandOutcome outcomeOf(const forest::StandResult& result);

class StandsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Sorting reads this role: numbers as numbers, so that 100 comes after 20.
  static constexpr int kSortRole = Qt::UserRole;

  explicit StandsModel(const forest::CheckedInventory& inventory, QObject* parent = nullptr);

  // Outcomes by the stands' place in the inventory; the rows not run show as not run.
  void setOutcomes(std::vector<std::optional<StandOutcome>> outcomes);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const forest::CheckedInventory& inventory_;
  std::vector<std::optional<StandOutcome>> outcomes_;

  QVariant value(int row, int column) const;
};

class YearsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void setYears(std::vector<forest::ForestYear> years);
  const std::vector<forest::ForestYear>& years() const { return years_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<forest::ForestYear> years_;
};

}  // namespace keldovar
