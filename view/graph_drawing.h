// The bar graph as drawing primitives: the 3-D columns, their values and classes, the trees axis
// and the titles, placed on the report page from a table's layout.
#pragma once

#include <string>
#include <vector>

#include "document/bar_graph.h"
#include "view/layout.h"

namespace keldovar {

enum class GraphShapeKind {
  Stroke,      // a one-unit line from (x1, y1) to (x2, y2)
  Fill,        // a rectangle filled from (x1, y1) to (x2, y2)
  Text,        // text with its top left at (x1, y1)
  CentredText  // text centred in the box from (x1, y1) to (x2, y2)
};
enum class GraphInk { Black, White, Green };  // green is (22, 220, 22)

// Coordinates as in the layout: logical units on the report page, y growing downwards.
struct GraphShape {
  GraphShapeKind kind = GraphShapeKind::Stroke;
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  GraphInk ink = GraphInk::Black;  // a text's colour; it is drawn on white unless it is white
  std::string text;
};

// The graph of one table in drawing order: later shapes cover earlier ones (each column's white
// strokes hide the top face of a lower column before it). Empty when the table shows no graph.
std::vector<GraphShape> drawBarGraph(const BarGraph& graph, const ReportLayout& layout,
                                     const TableLayout& table);

}  // namespace keldovar
