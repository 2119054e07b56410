// A stand's results and the forest's years as cells in the outputs' columns.
#include "forest/result_record.h"

#include <cmath>

namespace keldovar::forest {
namespace {

Cell textCell(std::string text) {
  return Cell::text(std::move(text));
}

Cell optionalInteger(const std::optional<std::int64_t>& value) {
  return value ? integerCell(*value) : Cell{};
}

// IRR is written in percent, as the batch runner's JSON writes it.
Cell percentCell(const std::optional<double>& fraction) {
  return realCell(fraction ? std::optional<double>(*fraction * 100) : std::nullopt);
}

void appendFigures(CellRow& row, const Figures& f) {
  for (double value : {f.trees, f.basalArea, f.volume, f.pulpTons, f.iuPulpTons, f.sawTons}) {
    row.push_back(realCell(value));
  }
}

void appendValue(CellRow& row, const std::optional<StandValue>& v) {
  if (!v) {
    row.resize(kStandCandidates);
    return;
  }
  row.push_back(integerCell(v->rotation));
  row.push_back(realCell(static_cast<double>(v->interest)));
  row.push_back(realCell(static_cast<double>(v->pulpwood.npv)));
  row.push_back(realCell(static_cast<double>(v->sawtimber.npv)));
  row.push_back(realCell(v->pulpwood.lev));
  row.push_back(realCell(v->sawtimber.lev));
  row.push_back(percentCell(v->pulpwood.irr));
  row.push_back(percentCell(v->sawtimber.irr));
  row.push_back(realCell(v->harvestPulpTons));
  row.push_back(realCell(v->harvestIUPulpTons));
  row.push_back(realCell(v->harvestSawTons));
}

}  // namespace

Cell realCell(std::optional<double> value) {
  Cell cell;
  if (value && std::isfinite(*value)) {
    cell.type = Cell::Type::Real;
    cell.real = *value;
  }
  return cell;
}

Cell integerCell(std::int64_t value) {
  Cell cell;
  cell.type = Cell::Type::Integer;
  cell.integer = value;
  return cell;
}

std::optional<double> numberOf(const Cell& cell) {
  if (cell.type == Cell::Type::Real) return cell.real;
  if (cell.type == Cell::Type::Integer) return static_cast<double>(cell.integer);
  return std::nullopt;
}

StandRecord recordOf(const StandResult& r) {
  StandRecord record;
  CellRow& s = record.stand;
  s.push_back(integerCell(r.row));
  s.push_back(textCell(r.stand));
  s.push_back(textCell(r.kind));
  s.push_back(realCell(r.acres));
  s.push_back(textCell(std::string(r.ok ? kStatusOk : kStatusFailed)));
  s.push_back(textCell(r.messages));
  s.push_back(integerCell(static_cast<std::int64_t>(r.tables.size())));
  appendValue(s, r.value);
  s.push_back(optionalInteger(r.candidates));
  s.push_back(optionalInteger(r.refused));
  s.push_back(textCell(r.script));
  for (const TableRow& t : r.tables) {
    CellRow row = {integerCell(r.row), textCell(r.stand), integerCell(t.table),
                   realCell(t.year),   realCell(t.age),   textCell(t.label)};
    appendFigures(row, t.standing);
    appendFigures(row, t.removed);
    row.push_back(realCell(t.co2e));
    record.tables.push_back(std::move(row));
  }
  if (r.value) {
    for (const CashFlowYear& f : r.value->flows) {
      record.flows.push_back({integerCell(r.row), textCell(r.stand), realCell(f.year),
                              realCell(f.pulpwood), realCell(f.sawtimber)});
    }
  }
  record.passThrough = r.passThrough;
  return record;
}

CellRow forestRow(const ForestYear& y) {
  CellRow row = {realCell(y.year), integerCell(y.stands), realCell(y.acres)};
  auto totals = [&](const Figures& f) {
    for (double v : {f.trees, f.basalArea, f.volume, f.pulpTons, f.iuPulpTons, f.sawTons}) {
      row.push_back(realCell(v));
    }
  };
  totals(y.standing);
  row.push_back(realCell(y.co2e));
  const Figures& s = y.standing;
  for (double v : {s.trees, s.basalArea, s.volume, s.pulpTons, s.iuPulpTons, s.sawTons, y.co2e}) {
    row.push_back(realCell(perAcre(v, y)));
  }
  totals(y.removed);
  for (double v : {y.cashPulpwood, y.cashSawtimber, y.pvPulpwood, y.pvSawtimber}) {
    row.push_back(realCell(v));
  }
  return row;
}

}  // namespace keldovar::forest
