// keldovar-cli --units metric: the examples' metric JSON is their imperial JSON times factors
// worked out here from the unit definitions, every metric line and row reads back to the stored
// imperial figure within a unit of its last digit, and a wrong word is a usage error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/json_reader.h"
#include "tests/cli/cli_outcome.h"

namespace keldovar::cli {
namespace {

constexpr double kAcre = 0.40468564224;  // ha
constexpr double kFoot = 0.3048;         // m
constexpr double kInch = 2.54;           // cm
constexpr double kTon = 0.90718474;      // t
constexpr double kPerAc = 1 / kAcre;
constexpr double kBasal = kFoot * kFoot / kAcre;
constexpr double kVolume = kFoot * kFoot * kFoot / kAcre;
constexpr double kTonsPerAc = kTon / kAcre;

const char* const kExamples[] = {"plantation-thin-harvest", "thinned-stand",
                                 "unthinned-thinomatic-fertilize"};

Outcome runExample(const std::string& name, const std::string& format, const char* units) {
  std::string script = std::string(KELDOVAR_SOURCE_DIR) + "/examples/" + name + ".kdr";
  return cli({"run", script, "--clock", "2026-01-01 00:00:00", "--carbon", "--format", format,
              "--units", units});
}

// The factor of a JSON number by its path (keys, with "#" for an array's places).
struct PathFactor {
  const char* path;
  double factor;
};
const PathFactor kPathFactors[] = {
    {"lev/", kPerAc},
    {"bargraph/max", kPerAc},
    {"carbon/biomass/", kTonsPerAc},
    {"carbon/carbon/", kTonsPerAc},
    {"carbon/co2e/", kTonsPerAc},
    {"carbon/removal/", kTonsPerAc},
    {"carbon/stump/points/#/2", kTonsPerAc},
    {"carbon/stump/average", kTonsPerAc},
    {"carbon/value/baseline", kPerAc},
    {"carbon/value/present_value", kPerAc},
    {"carbon/value/npv/", kPerAc},
    {"carbon/value/lev/", kPerAc},
    {"stand/site_index", kFoot},
    {"stand/height", kFoot},
    {"stand/basal_area", kBasal},
    {"stand/trees", kPerAc},
    {"stand/total_volume", kVolume},
};
// By place: a stock row's (the inch class first) and a history row's (its age and label first).
const std::vector<double> kStockPlaces{1,       kPerAc,     kFoot,      kBasal,
                                       kVolume, kTonsPerAc, kTonsPerAc, kTonsPerAc};
const std::vector<double> kHistoryPlaces{1,       1,          kPerAc,     kBasal,
                                         kVolume, kTonsPerAc, kTonsPerAc, kTonsPerAc};

std::vector<std::string> segmentsOf(const std::string& path) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at; (at = path.find('/', from)) != std::string::npos; from = at + 1) {
    out.push_back(path.substr(from, at - from));
  }
  out.push_back(path.substr(from));
  return out;
}

// A pattern matches where its segments follow each other in the path ('#' any place of an
// array), ending the path unless the pattern ends in '/'.
bool pathMatches(const std::string& pattern, const std::vector<std::string>& path) {
  std::vector<std::string> want = segmentsOf(pattern);
  bool prefix = want.back().empty();
  if (prefix) want.pop_back();
  for (std::size_t start = 0; start + want.size() <= path.size(); ++start) {
    bool all = true;
    for (std::size_t k = 0; k < want.size() && all; ++k) {
      const std::string& got = path[start + k];
      all = want[k] == "#" ? !got.empty() && std::isdigit(static_cast<unsigned char>(got[0]))
                           : want[k] == got;
    }
    if (all && (prefix || start + want.size() == path.size())) return true;
  }
  return false;
}

double factorOf(const std::string& path) {
  std::vector<std::string> segments = segmentsOf(path);
  auto place = static_cast<std::size_t>(std::atoi(segments.back().c_str()));
  if (pathMatches("stock/rows/#/#", segments)) return kStockPlaces.at(place);
  if (pathMatches("history/rows/#/#", segments)) return kHistoryPlaces.at(place);
  for (const PathFactor& p : kPathFactors) {
    if (pathMatches(p.path, segments)) return p.factor;
  }
  return 1;
}

void compareJson(const JsonValue& imperial, const JsonValue& metric, const std::string& path) {
  ASSERT_EQ(static_cast<int>(imperial.kind), static_cast<int>(metric.kind)) << path;
  if (imperial.kind == JsonValue::Kind::Number) {
    // Bar values are whole trees per hectare; the rest are within a float's digits.
    bool bar = pathMatches("bargraph/bars/#/1", segmentsOf(path));
    double expected = imperial.number * (bar ? kPerAc : factorOf(path));
    double slack = bar ? 0.5 : 1e-6 * std::fabs(expected) + 1e-9;
    EXPECT_NEAR(metric.number, expected, slack) << path;
  }
  if (imperial.kind == JsonValue::Kind::Array) {
    ASSERT_EQ(imperial.items.size(), metric.items.size()) << path;
    for (std::size_t i = 0; i < imperial.items.size(); ++i) {
      compareJson(imperial.items[i], metric.items[i], path + "/" + std::to_string(i));
    }
  }
  if (imperial.kind == JsonValue::Kind::Object) {
    for (const auto& [key, value] : imperial.members) {
      const JsonValue* other = metric.member(key);
      ASSERT_TRUE(other != nullptr) << path << "/" << key;
      compareJson(value, *other, path + "/" + key);
    }
  }
}

// The numbers of a line, a '-' after a digit read as a separator ("24.1-26.7").
struct Figure {
  double value;
  int decimals;
};
std::vector<Figure> figuresOf(const std::string& line) {
  std::vector<Figure> out;
  for (std::size_t i = 0; i < line.size();) {
    bool minus =
        line[i] == '-' && (i == 0 || !std::isdigit(static_cast<unsigned char>(line[i - 1])));
    std::size_t start = minus ? i + 1 : i;
    if (start >= line.size() || !std::isdigit(static_cast<unsigned char>(line[start])) ||
        (i > 0 && std::isalpha(static_cast<unsigned char>(line[i - 1])))) {
      ++i;
      continue;
    }
    std::size_t end = start;
    while (end < line.size() &&
           (std::isdigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
      ++end;
    std::string text = line.substr(start, end - start);
    std::size_t point = text.find('.');
    out.push_back({(minus ? -1 : 1) * std::stod(text),
                   point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1)});
    i = end;
  }
  return out;
}

// The factors of a line's figures, by a part of its imperial text; the first found counts, and a
// line with none keeps its figures.
struct LineFactors {
  const char* part;
  std::vector<double> factors;
};
const std::vector<LineFactors> kLineFactors = {
    {"Site Index", {1, kFoot}},
    {" Basal Area    ", {kBasal}},
    {"Trees Per Acre", {kPerAc, kPerAc}},
    {"Dom./Codom.", {kFoot}},
    {"Quadratic", {kInch}},
    {"TOTAL OB", {kVolume}},
    {"THINNING-LEAVING", {kBasal}},
    {"  Removed  ", {kBasal, kVolume, kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"sq. ft. of Basal", {kBasal}},
    {"trees per acre", {kPerAc}},
    {"cuft. of volume", {kVolume}},
    {"tons during thinning", {kTonsPerAc, kInch}},
    {"board tons", {kTonsPerAc, kTonsPerAc}},
    {"Net Present Value", {kPerAc}},
    {"Volume Conversions", {kTon, 1, kTon}},
    {"Aboveground", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Stem wood", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Stem bark", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Foliage", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"coarse roots", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Live tree", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Removed by the", {kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Still in products", {1, kTonsPerAc, kTonsPerAc, kTonsPerAc, kTonsPerAc}},
    {"Average over ages", {1, 1, kTonsPerAc, kTonsPerAc}},
};

// The rows under a heading line, up to a blank one, and their figures' factors.
struct RowBlock {
  const char* heading;  // the start of the imperial line above the rows
  std::vector<double> factors;
};
const std::vector<RowBlock> kRowBlocks = {
    {" Class", {kStockPlaces.begin() + 1, kStockPlaces.end()}},
    {"                                      Area",
     {kHistoryPlaces.begin() + 1, kHistoryPlaces.end()}},
    {"                                                Utilization",
     {1, kPerAc, kPerAc, kPerAc, kPerAc}},
    {" Age  Action", {1, kTonsPerAc, kTonsPerAc}},
};

// A line's stored figures are its text: the metric one reads back within a unit of each. A row's
// are numbers, which the imperial text shows within half a unit: `units` is 1.5 there.
void checkRoundTrip(const std::string& imperial, const std::string& metric,
                    const std::vector<double>& factors, const std::string& where,
                    double units = 1) {
  std::vector<Figure> i = figuresOf(imperial);
  std::vector<Figure> m = figuresOf(metric);
  ASSERT_EQ(i.size(), m.size()) << where << "\n" << imperial << "\n" << metric;
  for (std::size_t k = 0; k < i.size(); ++k) {
    double f = k < factors.size() ? factors[k] : 1;
    double unit = units * std::pow(10.0, -i[k].decimals);
    EXPECT_LE(std::fabs(m[k].value / f - i[k].value), unit * (1 + 1e-9))
        << where << " #" << k << "\n"
        << imperial << "\n"
        << metric;
  }
}

// A stock row: the class by its bounds, whose mean in inches is the class; the totals row
// has no height.
void checkStockRow(const std::string& imperial, const std::string& metric,
                   std::vector<double> factors, const std::string& where) {
  if (imperial.starts_with("Total")) {
    factors.erase(factors.begin() + 1);
    checkRoundTrip(imperial, metric, factors, where, 1.5);
    return;
  }
  std::vector<Figure> bounds = figuresOf(metric.substr(0, 10));
  ASSERT_EQ(bounds.size(), 2U) << where << "\n" << metric;
  EXPECT_NEAR((bounds[0].value + bounds[1].value) / 2 / kInch, figuresOf(imperial)[0].value, 0.05)
      << where;
  checkRoundTrip(imperial.substr(5), metric.substr(10), factors, where, 1.5);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1) {
    lines.push_back(text.substr(from, at - from));
  }
  return lines;
}

TEST(UnitsCli, MetricJsonIsTheImperialTimesTheFactors) {
  for (const char* name : kExamples) {
    Outcome imperial = runExample(name, "json", "imperial");
    Outcome metric = runExample(name, "json", "metric");
    ASSERT_EQ(metric.status, 0) << metric.err;
    std::optional<JsonValue> a = readJson(imperial.out);
    std::optional<JsonValue> b = readJson(metric.out);
    ASSERT_TRUE(a && b) << name;
    EXPECT_EQ(a->member("units"), nullptr);
    ASSERT_NE(b->member("units"), nullptr);
    EXPECT_EQ(b->member("units")->text, "metric");
    compareJson(*a, *b, "");
  }
}

TEST(UnitsCli, MetricTextReadsBackToTheStoredFigures) {
  for (const char* name : kExamples) {
    std::vector<std::string> imperial = linesOf(runExample(name, "text", "imperial").out);
    std::vector<std::string> metric = linesOf(runExample(name, "text", "metric").out);
    ASSERT_EQ(imperial.size(), metric.size()) << name;
    const RowBlock* block = nullptr;
    int rows = 0;  // of the block; the history's rows follow a blank line
    for (std::size_t n = 0; n < imperial.size(); ++n) {
      const std::string& line = imperial[n];
      std::string where = std::string(name) + ":" + std::to_string(n + 1);
      bool blank = line.empty() || line == " ";
      if (blank && rows == 0 && block != nullptr) continue;
      if (blank || line.starts_with(" Average")) block = nullptr;
      if (block == &kRowBlocks[0]) {
        checkStockRow(line, metric[n], block->factors, where);
        ++rows;
        continue;
      }
      if (block != nullptr) {
        ++rows;
        checkRoundTrip(line, metric[n], block->factors, where, 1.5);
        continue;
      }
      for (const RowBlock& b : kRowBlocks) {
        if (line.starts_with(b.heading)) block = &b, rows = 0;
      }
      std::vector<double> factors;
      for (const LineFactors& l : kLineFactors) {
        if (line.find(l.part) != std::string::npos) {
          factors = l.factors;
          break;
        }
      }
      if (block == nullptr) checkRoundTrip(line, metric[n], factors, where);
    }
  }
}

TEST(UnitsCli, MetricComparisonIsTheImperialTimesTheFactors) {
  auto compare = [](const char* units) {
    std::vector<std::string> args = {"compare"};
    for (const char* name : kExamples) {
      args.push_back(std::string(KELDOVAR_SOURCE_DIR) + "/examples/" + name + ".kdr");
    }
    args.insert(args.end(), {"--format", "json", "--units", units});
    Outcome r = cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return readJson(r.out);
  };
  std::optional<JsonValue> imperial = compare("imperial");
  std::optional<JsonValue> metric = compare("metric");
  ASSERT_TRUE(imperial && metric);
  ASSERT_NE(metric->member("units"), nullptr);
  const PathFactor factors[] = {
      {"harvest_tons/total", kTonsPerAc},
      {"removed_tons", kTonsPerAc},
      {"mai", kTonsPerAc},
      {"npv/sawtimber", kPerAc},
      {"lev/pulpwood", kPerAc},
      {"irr/sawtimber", 1},
      {"rotation", 1},
  };
  const auto& a = imperial->member("regimes")->items;
  const auto& b = metric->member("regimes")->items;
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (const PathFactor& f : factors) {
      const JsonValue* x = &a[i];
      const JsonValue* y = &b[i];
      for (const std::string& key : segmentsOf(f.path)) x = x->member(key), y = y->member(key);
      ASSERT_TRUE(x != nullptr && y != nullptr) << f.path;
      EXPECT_NEAR(y->number, x->number * f.factor, 1e-6 * std::fabs(x->number * f.factor))
          << f.path;
    }
  }
}

TEST(UnitsCli, AWrongWordIsAUsageError) {
  const std::vector<std::string> cases[] = {
      {"run", "-", "--units", "si"},
      {"report", "x.kdv", "--units", "Metric"},
      {"report", "x.kdv", "--units"},
      {"compare", "a.kdr", "b.kdr", "--units", "acres"},
      {"inventory", "s.csv", "--regime", "r.kdr", "--units", "feet"},
      // SQLite results are the state a run resumes from: they stay imperial.
      {"inventory", "s.csv", "--regime", "r.kdr", "--out", "r.sqlite", "--units", "metric"},
  };
  for (const std::vector<std::string>& args : cases) {
    Outcome r = cli(args);
    EXPECT_EQ(r.status, kExitUsage) << args[0];
    EXPECT_NE(r.err.find("--units"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace keldovar::cli
