// The stands and the years of the forest view.
#include "desktop/forest_models.h"

#include <array>

#include "forest/text_out.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

enum StandsColumn { kRow, kStand, kKind, kAcres, kStatus, kRotation, kNpv, kLev, kIrr, kMessage };
constexpr std::array<const char*, 10> kStandsHeadings = {
    "Row",      "Stand",      "Kind",       "Acres",   "Status",
    "Rotation", "NPV ($/ac)", "LEV ($/ac)", "IRR (%)", "Message"};

constexpr std::array<const char*, 12> kYearsHeadings = {
    "Year",        "Stands",     "Acres",        "Trees/ac",    "BA/ac (sq ft)",
    "Pulp (t/ac)", "Saw (t/ac)", "Cut pulp (t)", "Cut saw (t)", "Carbon (t CO2e/ac)",
    "Cash ($)",    "PV ($)"};

QVariant number(const std::optional<double>& value) {
  return value ? QVariant(*value) : QVariant();
}

QString shownNumber(const QVariant& value, int decimals) {
  return value.isValid() ? QString::number(value.toDouble(), 'f', decimals) : QString();
}

QString cellShown(const forest::Cell& cell) {
  if (cell.type == forest::Cell::Type::Blob) {
    return QString("(%1 bytes)").arg(cell.bytes.size());
  }
  return QString::fromStdString(forest::cellText(cell).value_or(""));
}

}  // namespace

StandOutcome outcomeOf(const forest::StandResult& result) {
  StandOutcome outcome;
  outcome.ok = result.ok;
  std::string first = result.messages.substr(0, result.messages.find('\n'));
  outcome.message = fromLatin1(first);
  if (result.value) {
    const forest::StandValue& v = *result.value;
    outcome.rotation = v.rotation;
    outcome.npv = static_cast<double>(v.sawtimber.npv);
    outcome.lev = v.sawtimber.lev;
    if (v.sawtimber.irr) outcome.irr = *v.sawtimber.irr * 100;
  }
  return outcome;
}

StandsModel::StandsModel(const forest::CheckedInventory& inventory, QObject* parent)
    : QAbstractTableModel(parent), inventory_(inventory), outcomes_(inventory.stands.size()) {}

void StandsModel::setOutcomes(std::vector<std::optional<StandOutcome>> outcomes) {
  beginResetModel();
  outcomes_ = std::move(outcomes);
  outcomes_.resize(inventory_.stands.size());
  endResetModel();
}

int StandsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(inventory_.stands.size());
}

int StandsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid()
             ? 0
             : static_cast<int>(kStandsHeadings.size() + inventory_.passThrough.size());
}

QVariant StandsModel::value(int row, int column) const {
  const forest::StandEntry& entry = inventory_.stands[static_cast<std::size_t>(row)];
  const std::optional<StandOutcome>& outcome = outcomes_[static_cast<std::size_t>(row)];
  switch (column) {
    case kRow:
      return entry.row;
    case kStand:
      return QString::fromStdString(entry.id);
    case kKind:
      return QString::fromStdString(entry.kind);
    case kAcres:
      return number(entry.acres);
    case kStatus:
      if (!entry.failure.empty()) return "bad row";
      return outcome ? (outcome->ok ? "ok" : "failed") : "";
    case kMessage:
      if (!entry.failure.empty()) return fromLatin1(entry.failure);
      return outcome ? outcome->message : QString();
    default:
      break;
  }
  if (column >= static_cast<int>(kStandsHeadings.size())) {
    auto carried = static_cast<std::size_t>(column) - kStandsHeadings.size();
    return carried < entry.passThrough.size() ? cellShown(entry.passThrough[carried]) : QString();
  }
  if (!outcome) return {};
  if (column == kRotation) return outcome->rotation ? QVariant(*outcome->rotation) : QVariant();
  if (column == kNpv) return number(outcome->npv);
  if (column == kLev) return number(outcome->lev);
  return number(outcome->irr);
}

QVariant StandsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  QVariant v = value(index.row(), index.column());
  if (role == kSortRole) return v;
  if (role == Qt::TextAlignmentRole) {
    bool numeric = index.column() == kRow || (index.column() >= kAcres && index.column() <= kIrr &&
                                              index.column() != kStatus);
    return numeric ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kAcres:
      return shownNumber(v, 1);
    case kNpv:
    case kLev:
    case kIrr:
      return shownNumber(v, 2);
    default:
      return v;
  }
}

QVariant StandsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < static_cast<int>(kStandsHeadings.size())) {
    return kStandsHeadings[static_cast<std::size_t>(section)];
  }
  auto carried = static_cast<std::size_t>(section) - kStandsHeadings.size();
  return carried < inventory_.passThrough.size()
             ? QString::fromStdString(inventory_.passThrough[carried])
             : QVariant();
}

void YearsModel::setYears(std::vector<forest::ForestYear> years) {
  beginResetModel();
  years_ = std::move(years);
  endResetModel();
}

int YearsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(years_.size());
}

int YearsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kYearsHeadings.size());
}

QVariant YearsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const forest::ForestYear& y = years_[static_cast<std::size_t>(index.row())];
  const forest::Figures& s = y.standing;
  // Tons and dollars as sawtimber+pulpwood management: its pulpwood is integrated utilization.
  const std::array<std::optional<double>, 12> values = {y.year,
                                                        static_cast<double>(y.stands),
                                                        y.acres,
                                                        forest::perAcre(s.trees, y),
                                                        forest::perAcre(s.basalArea, y),
                                                        forest::perAcre(s.iuPulpTons, y),
                                                        forest::perAcre(s.sawTons, y),
                                                        y.removed.iuPulpTons,
                                                        y.removed.sawTons,
                                                        forest::perAcre(y.co2e, y),
                                                        y.cashSawtimber,
                                                        y.pvSawtimber};
  static constexpr std::array<int, 12> kDecimals = {1, 0, 1, 1, 1, 2, 2, 1, 1, 1, 2, 2};
  auto column = static_cast<std::size_t>(index.column());
  return shownNumber(number(values[column]), kDecimals[column]);
}

QVariant YearsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return kYearsHeadings[static_cast<std::size_t>(section)];
}

}  // namespace keldovar
