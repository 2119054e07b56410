// The stored line formats and their metric forms, and the matcher that reads a line by them.
#include "view/metric_lines.h"

#include <array>
#include <charconv>
#include <span>
#include <vector>

#include "engine/number_text.h"

namespace keldovar {
namespace {

using Q = Quantity;

// A format in both systems. In `imperial`, '@' reads a number (its blanks before it are its
// field), '#' too, '_' any text of one character or more (the shortest that lets the rest
// match), '*' the rest of the line; everything else is itself. In `metric` the same marks write
// what was read, in order, '@' with the decimals that keep the round trip and '#' with one more;
// '$' writes the currency symbol.
struct LineFormat {
  std::string_view imperial;
  std::string_view metric;
  std::array<Quantity, 5> numbers{};
};

constexpr auto kSummary = std::to_array<LineFormat>({
    {" Site Index(Base Age _ years)  @ feet", " Site Index(Base Age _ years)  @ m", {Q::Length}},
    {" Basal Area                     @ sq.ft",
     " Basal Area                     @ m2/ha",
     {Q::BasalArea}},
    {" Trees Per Acre                 @  ( @ Trees Planted)",
     " Trees Per Hectare              @  ( @ Trees Planted)",
     {Q::PerArea, Q::PerArea}},
    {" Trees Per Acre                 @ ", " Trees Per Hectare              @ ", {Q::PerArea}},
    {" Dom./Codom. Height             @ feet", " Dom./Codom. Height             @ m", {Q::Length}},
    {" Quadratic Mean D.B.H.          @ inches",
     " Quadratic Mean D.B.H.          @ cm",
     {Q::Diameter}},
    {" TOTAL OB YIELD                 @ cubic feet",
     " TOTAL OB YIELD                 @ m3/ha",
     {Q::VolumePerArea}},
});

constexpr auto kStock = std::to_array<LineFormat>({
    {"         STAND/STOCK TABLE(Acre) at Age *", "         STAND/STOCK TABLE(Hectare) at Age *"},
    {"    Volume Conversions: cords = tons/@ ; MBF (Int1/4) ~ tons/#",
     "    Volume Conversions: cords = t/@ ; MBF (Int1/4) ~ t/#",
     {Q::Mass, Q::Mass}},
});

constexpr auto kThinning = std::to_array<LineFormat>({
    {"         _ THINNING-LEAVING @ SQ. FT. BASAL AREA ",
     "         _ THINNING-LEAVING @ M2/HA BASAL AREA ",
     {Q::BasalArea}},
    {" Removed @ sq. ft. of Basal Area", " Removed @ m2/ha of Basal Area", {Q::BasalArea}},
    {" Cut     @ trees per acre.", " Cut     @ trees per hectare.", {Q::PerArea}},
    {" Removed @ cuft. of volume during thinning",
     " Removed @ m3/ha of volume during thinning",
     {Q::VolumePerArea}},
    {" Removed @ tons during thinning (@ in. OB)",
     " Removed @ t/ha during thinning (@ cm OB)",
     {Q::MassPerArea, Q::Diameter}},
    {" Removed @ board tons and @ pulp tons ",
     " Removed @ board t/ha and @ pulp t/ha ",
     {Q::MassPerArea, Q::MassPerArea}},
});

constexpr auto kHistory = std::to_array<LineFormat>({
    {"         STAND HISTORY(Acre)*", "         STAND HISTORY(Hectare)*"},
    {" Age                Action    Trees  Basal Total OB  Total Pulp   Pulp  SawTimber",
     " Age                Action Trees/ha  Basal Total OB  Total Pulp   Pulp  SawTimber"},
    {"                                      Area   Volume     Tons      Tons     Tons",
     "                                     m2/ha    m3/ha     t/ha      t/ha     t/ha"},
    {"  Removed@@@@@",
     "  Removed@@@@@",
     {Q::BasalArea, Q::VolumePerArea, Q::MassPerArea, Q::MassPerArea, Q::MassPerArea}},
});

constexpr auto kFinancial = std::to_array<LineFormat>({
    {"         FINANCIAL ANALYSIS(Acre)*", "         FINANCIAL ANALYSIS(Hectare)*"},
    {"   @   _@@@@",
     "   @   _@@@@",
     {Q::Plain, Q::MoneyPerArea, Q::MoneyPerArea, Q::MoneyPerArea, Q::MoneyPerArea}},
    {"     Net Present Value (_):_$@", "     Net Present Value (_):_$@", {Q::MoneyPerArea}},
    {" Net Present Value (_) minus Establishment Cost: $@",
     " Net Present Value (_) minus Establishment Cost: $@",
     {Q::MoneyPerArea}},
});

constexpr auto kCarbon = std::to_array<LineFormat>({
    {"         CARBON(Acre) at Age @, short tons", "         CARBON(Hectare) at Age @, tonnes"},
    {"         CARBON ON THE STUMP(Acre), live trees, short tons",
     "         CARBON ON THE STUMP(Hectare), live trees, tonnes"},
    {" _@@@", " _@@@", {Q::MassPerArea, Q::MassPerArea, Q::MassPerArea}},
    {" @  _@@", " @  _@@", {Q::Plain, Q::MassPerArea, Q::MassPerArea}},
    {" Removed by the _: @ tons carbon; into products: pulpwood @, sawtimber @",
     " Removed by the _: @ t/ha carbon; into products: pulpwood @, sawtimber @",
     {Q::MassPerArea, Q::MassPerArea, Q::MassPerArea}},
    {" Still in products after 100 years: in use @, in landfills @, @ tons carbon (@ CO2e)",
     " Still in products after 100 years: in use @, in landfills @, @ t/ha carbon (@ CO2e)",
     {Q::MassPerArea, Q::MassPerArea, Q::MassPerArea, Q::MassPerArea}},
    {" Average over ages @ to @: @ tons carbon (@ CO2e)",
     " Average over ages @ to @: @ t/ha carbon (@ CO2e)",
     {Q::Plain, Q::Plain, Q::MassPerArea, Q::MassPerArea}},
    {" Carbon payments at $@ a tonne of CO2e over a baseline of @ tonnes: $@ at @ %",
     " Carbon payments at $@ a tonne of CO2e over a baseline of @ t/ha: $@/ha at @ %",
     {Q::Plain, Q::PerArea, Q::MoneyPerArea, Q::Plain}},
});

std::span<const LineFormat> formatsOf(LineGroup group) {
  switch (group) {
    case LineGroup::Summary:
      return kSummary;
    case LineGroup::Stock:
      return kStock;
    case LineGroup::Thinning:
      return kThinning;
    case LineGroup::History:
      return kHistory;
    case LineGroup::Financial:
      return kFinancial;
    case LineGroup::Carbon:
      return kCarbon;
  }
  return {};
}

// What a mark read: a number with its field and decimals, or a piece of text.
struct Piece {
  std::string_view text;
  int width = 0;
  int decimals = 0;
  double value = 0;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number at the start of `text`: blanks, an optional minus, digits, an optional point and
// digits. Returns the characters read, 0 when there is no number.
std::size_t readNumber(std::string_view text, Piece& piece) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t start = i;
  if (i < text.size() && text[i] == '-') ++i;
  std::size_t digits = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i == digits) return 0;
  int decimals = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++decimals;
  }
  piece.text = text.substr(start, i - start);
  if (std::from_chars(text.data() + start, text.data() + i, piece.value).ec != std::errc()) {
    return 0;
  }
  piece.width = static_cast<int>(i);
  piece.decimals = decimals;
  return i;
}

// Whether `text` reads as `format`, appending what its marks read to `pieces`.
bool matches(std::string_view format, std::string_view text, std::vector<Piece>& pieces) {
  while (!format.empty()) {
    char mark = format.front();
    format.remove_prefix(1);
    if (mark == '*') {
      pieces.push_back({text});
      return format.empty();
    }
    if (mark == '_') {
      std::size_t held = pieces.size();
      for (std::size_t n = 1; n <= text.size(); ++n) {
        pieces.push_back({text.substr(0, n)});
        if (matches(format, text.substr(n), pieces)) return true;
        pieces.resize(held);
      }
      return false;
    }
    if (mark == '@' || mark == '#') {
      Piece piece;
      std::size_t used = readNumber(text, piece);
      if (used == 0) return false;
      pieces.push_back(piece);
      text.remove_prefix(used);
      continue;
    }
    if (text.empty() || text.front() != mark) return false;
    text.remove_prefix(1);
  }
  return text.empty();
}

std::string converted(const LineFormat& format, std::span<const Piece> pieces,
                      const ShownUnits& style) {
  std::string out;
  std::size_t next = 0;
  std::size_t number = 0;
  for (char mark : format.metric) {
    if (mark == '$') {
      out += style.currency;
    } else if (mark == '_' || mark == '*') {
      out += pieces[next++].text;
    } else if (mark == '@' || mark == '#') {
      const Piece& p = pieces[next++];
      Quantity q = number < format.numbers.size() ? format.numbers[number] : Quantity::Plain;
      ++number;
      int extra = mark == '#' ? 1 : 0;
      appendMetricNumber(out, q, p.value, p.decimals + extra, p.width, style);
    } else {
      out += mark;
    }
  }
  return out;
}

}  // namespace

void appendMetricNumber(std::string& out, Quantity quantity, double stored, int imperialDecimals,
                        int width, const ShownUnits& style, bool spaceSign) {
  std::size_t start = out.size();
  int decimals =
      quantity == Quantity::Plain ? imperialDecimals : metricDecimals(quantity, imperialDecimals);
  TextOut(out).fixed(toMetric(quantity, stored), width, decimals,
                     spaceSign ? Sign::Space : Sign::Minus);
  if (style.decimalSeparator == '.') return;
  for (std::size_t i = start; i < out.size(); ++i) {
    if (out[i] == '.') out[i] = style.decimalSeparator;
  }
}

std::string metricLine(LineGroup group, std::string_view stored, const ShownUnits& style) {
  std::vector<Piece> pieces;
  for (const LineFormat& format : formatsOf(group)) {
    pieces.clear();
    if (matches(format.imperial, stored, pieces)) return converted(format, pieces, style);
  }
  return std::string(stored);
}

}  // namespace keldovar
