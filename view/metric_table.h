// A stored table as the metric view shows it: its stock rows, history records and bar graph
// converted from the stored values, its lines printed again in metric.
#pragma once

#include <array>

#include "document/table_store.h"
#include "view/metric_lines.h"

namespace keldovar {

// What each stock column measures. The class column keeps the stored inch class: the metric view
// shows it by its centimetre bounds.
inline constexpr std::array<Quantity, 8> kStockQuantities{
    Quantity::Diameter,      Quantity::PerArea,     Quantity::Length,      Quantity::BasalArea,
    Quantity::VolumePerArea, Quantity::MassPerArea, Quantity::MassPerArea, Quantity::MassPerArea};

// What each history record figure measures, in the order of the row.
inline constexpr std::array<Quantity, 6> kHistoryQuantities{
    Quantity::PerArea,     Quantity::BasalArea,   Quantity::VolumePerArea,
    Quantity::MassPerArea, Quantity::MassPerArea, Quantity::MassPerArea};

// The bar graph as the unit system draws it: in metric its trees axis and values per hectare.
BarGraph shownGraph(const BarGraph& stored, UnitSystem units);

// The stored table in metric; `out` is overwritten.
void convertToMetric(const ReportTable& stored, const ShownUnits& style, ReportTable& out);

}  // namespace keldovar
