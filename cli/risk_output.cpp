// The risk outputs. Percentages (the model's, the share below 0, the share of stands lost) are
// written in percent, as the options take them.
#include "cli/risk_output.h"

#include "cli/output.h"
#include "cli/sensitivity_output.h"
#include "document/field_text.h"
#include "engine/report_text.h"

namespace keldovar::cli {
namespace {

using econ::Distribution;
using econ::Management;

const char* managementName(Management m) {
  return m == Management::Pulpwood ? "pulpwood" : "sawtimber+pulpwood";
}

const char* managementKey(Management m) {
  return m == Management::Pulpwood ? "pulpwood" : "sawtimber";
}

std::string shown(double value) {
  return formatReal(static_cast<float>(value));
}

std::string modelText(const econ::RiskModel& m) {
  return formatText(
      "Prices: drift %s %% a year, volatility %s %% a year, mean reversion %s a year, "
      "pulpwood-sawtimber correlation %s\nLosses: %s %% a year, %s %% salvaged; %lld paths, "
      "seed %llu\n",
      shown(m.prices.drift).c_str(), shown(m.prices.volatility).c_str(),
      shown(m.prices.reversion).c_str(), shown(m.prices.correlation).c_str(),
      shown(m.loss.probability).c_str(), shown(m.loss.salvage).c_str(),
      static_cast<long long>(m.paths), static_cast<unsigned long long>(m.seed));
}

std::string modelJson(const econ::RiskModel& m) {
  return "{\"drift\": " + jsonNumber(m.prices.drift) +
         ", \"volatility\": " + jsonNumber(m.prices.volatility) +
         ", \"reversion\": " + jsonNumber(m.prices.reversion) +
         ", \"correlation\": " + jsonNumber(m.prices.correlation) +
         ", \"loss\": " + jsonNumber(m.loss.probability) +
         ", \"salvage\": " + jsonNumber(m.loss.salvage) +
         ", \"paths\": " + std::to_string(m.paths) + ", \"seed\": " + std::to_string(m.seed) + "}";
}

// The statistics in the order every output lists them, with their JSON and CSV names.
struct Statistic {
  const char* name;
  const char* key;
  double Distribution::*value;
  double scale;
};
constexpr Statistic kStatistics[] = {
    {"Mean", "mean", &Distribution::mean, 1},
    {"Standard deviation", "sd", &Distribution::sd, 1},
    {"P5", "p5", &Distribution::p5, 1},
    {"P50", "p50", &Distribution::p50, 1},
    {"P95", "p95", &Distribution::p95, 1},
    {"Probability below 0 (%)", "below_zero_percent", &Distribution::lossProbability, 100},
    {"Expected shortfall (worst 5 %)", "expected_shortfall", &Distribution::expectedShortfall, 1},
};

std::string distributionJson(const std::optional<Distribution>& d) {
  if (!d) return "null";
  std::string out;
  for (const Statistic& s : kStatistics) {
    out += (out.empty() ? "{\"" : ", \"") + std::string(s.key) +
           "\": " + jsonNumber(*d.*s.value * s.scale);
  }
  return out + "}";
}

std::string histogramJson(const econ::Histogram& h, bool present) {
  if (!present) return "null";
  std::string out =
      "{\"low\": " + jsonNumber(h.low) + ", \"width\": " + jsonNumber(h.width) + ", \"counts\": [";
  for (std::size_t i = 0; i < h.counts.size(); ++i) {
    out += (i > 0 ? ", " : "") + std::to_string(h.counts[i]);
  }
  return out + "]}";
}

std::string optionalMoney(const std::optional<double>& value) {
  return value ? formatText("%.2f", *value) : std::string("none");
}

// One list of the search: each regime's figures and its script.
std::string rankedText(const char* title, const std::vector<econ::RiskRankedRegime>& list,
                       const RiskSearchReport& r) {
  bool plantation = r.result.search.newPlantation;
  Management m = r.result.search.management;
  std::string out = std::string("\n") + title + "\n";
  int rank = 0;
  for (const econ::RiskRankedRegime& ranked : list) {
    const econ::RankedRegime& regime = ranked.regime;
    const Distribution& d = plantation && ranked.risk.lev ? *ranked.risk.lev : ranked.risk.npv;
    const econ::Measures& steady = m == Management::Pulpwood ? regime.pulpwood : regime.sawtimber;
    out += formatText(
        "%3d. rotation %d: mean $%.2f, P5 $%.2f, sd $%.2f, below 0 %.1f %%, stand lost %.1f %%; "
        "steady %s $%s\n",
        ++rank, regime.rotation, d.mean, d.p5, d.sd, d.lossProbability * 100,
        ranked.risk.lostShare * 100, plantation ? "LEV" : "NPV",
        plantation ? optionalMoney(steady.lev).c_str()
                   : formatText("%.2f", static_cast<double>(steady.npv)).c_str());
    for (const std::string& line : r.startLines) out += "       " + line + "\n";
    for (const Step& step : regime.steps) out += "       " + scriptLine(step) + "\n";
  }
  return out;
}

std::string scriptJson(const econ::RankedRegime& regime, const std::vector<std::string>& start) {
  std::string out = "[";
  for (const std::string& line : start) out += (out.size() > 1 ? ", " : "") + jsonString(line);
  for (const Step& step : regime.steps) {
    out += (out.size() > 1 ? ", " : "") + jsonString(scriptLine(step));
  }
  return out + "]";
}

std::string rankedJson(const std::vector<econ::RiskRankedRegime>& list, const RiskSearchReport& r) {
  bool plantation = r.result.search.newPlantation;
  Management m = r.result.search.management;
  std::string out = "[";
  for (std::size_t i = 0; i < list.size(); ++i) {
    const econ::RiskRankedRegime& ranked = list[i];
    const econ::Measures& steady =
        m == Management::Pulpwood ? ranked.regime.pulpwood : ranked.regime.sawtimber;
    out += std::string(i > 0 ? ",\n    " : "\n    ") +
           "{\"ordinal\": " + std::to_string(ranked.regime.ordinal) +
           ", \"rotation\": " + std::to_string(ranked.regime.rotation) +
           ", \"score\": " + jsonNumber(ranked.regime.score) +
           ",\n     \"steady\": {\"npv\": " + jsonNumber(steady.npv) +
           ", \"lev\": " + (steady.lev ? jsonNumber(*steady.lev) : "null") +
           "},\n     \"distribution\": " +
           distributionJson(plantation && ranked.risk.lev ? ranked.risk.lev : ranked.risk.npv) +
           ",\n     \"lost_percent\": " + jsonNumber(ranked.risk.lostShare * 100) +
           ",\n     \"script\": " + scriptJson(ranked.regime, r.startLines) + "}";
  }
  return out + (list.empty() ? "]" : "\n  ]");
}

}  // namespace

std::string riskText(const RiskReport& r) {
  std::string out = "Risk of " + harvestName(r.regime) + ", " + managementName(r.model.management) +
                    " management\nAt " + financialLine(r.values) + "\n" + modelText(r.model) + "\n";
  out += formatText("%-32s %12s %12s\n", "", "NPV ($/ac)", "LEV ($/ac)");
  for (const Statistic& s : kStatistics) {
    std::string lev =
        r.summary.lev ? formatText("%.2f", *r.summary.lev.*s.value * s.scale) : std::string("none");
    out += formatText("%-32s %12.2f %12s\n", s.name, r.summary.npv.*s.value * s.scale, lev.c_str());
  }
  out += formatText("Stand lost before its harvest: %.2f %% of the paths\n",
                    r.summary.lostShare * 100);
  out += formatText("Steady prices and no loss: NPV %.2f, LEV %s\n",
                    static_cast<double>(r.steady.npv), optionalMoney(r.steady.lev).c_str());
  return out;
}

std::string riskJson(const RiskReport& r) {
  return formatText("{\n  \"harvest_age\": %d,\n  \"new_plantation\": %s,\n", r.regime.rotation,
                    r.regime.newPlantation ? "true" : "false") +
         "  \"management\": \"" + managementKey(r.model.management) +
         "\",\n  \"values\": " + valuesJson(r.values) + ",\n  \"model\": " + modelJson(r.model) +
         ",\n  \"steady\": {\"npv\": " + jsonNumber(r.steady.npv) +
         ", \"lev\": " + (r.steady.lev ? jsonNumber(*r.steady.lev) : "null") +
         "},\n  \"lost_percent\": " + jsonNumber(r.summary.lostShare * 100) +
         ",\n  \"npv\": " + distributionJson(r.summary.npv) +
         ",\n  \"lev\": " + distributionJson(r.summary.lev) +
         ",\n  \"histogram\": {\"npv\": " + histogramJson(r.summary.npvHistogram, true) +
         ",\n                \"lev\": " +
         histogramJson(r.summary.levHistogram, r.summary.lev.has_value()) + "}\n}\n";
}

std::string riskCsv(const RiskReport& r) {
  std::string out = "kind,measure,name,value\n";
  for (auto [measure, d] : {std::pair{"npv", std::optional<Distribution>(r.summary.npv)},
                            std::pair{"lev", r.summary.lev}}) {
    if (!d) continue;
    for (const Statistic& s : kStatistics) {
      out += std::string("statistic,") + measure + "," + s.key + "," +
             jsonNumber(*d.*s.value * s.scale) + "\n";
    }
  }
  out += "statistic,,lost_percent," + jsonNumber(r.summary.lostShare * 100) + "\n";
  for (auto [measure, h] :
       {std::pair{"npv", &r.summary.npvHistogram}, std::pair{"lev", &r.summary.levHistogram}}) {
    for (std::size_t i = 0; i < h->counts.size(); ++i) {
      out += std::string("bin,") + measure + "," +
             jsonNumber(h->low + h->width * static_cast<double>(i)) + "," +
             std::to_string(h->counts[i]) + "\n";
    }
  }
  return out;
}

std::string riskSearchText(const RiskSearchReport& r) {
  const econ::SearchResult& s = r.result.search;
  const char* measure = s.newPlantation ? "LEV" : "NPV";
  std::string out = formatText(
      "Best regimes under risk by %s, %s management\n%lld regimes: %lld valued, %lld refused by "
      "the engine\n",
      measure, managementName(s.management), static_cast<long long>(s.candidates),
      static_cast<long long>(s.valued), static_cast<long long>(s.refused));
  out += modelText(r.model);
  out += rankedText((std::string("By expected ") + measure).c_str(), r.result.byExpected, r);
  out += rankedText((std::string("By P5 of ") + measure).c_str(), r.result.byP5, r);
  return out;
}

std::string riskSearchJson(const RiskSearchReport& r) {
  const econ::SearchResult& s = r.result.search;
  return std::string("{\n  \"ranked_by\": \"") + (s.newPlantation ? "lev" : "npv") +
         "\",\n  \"management\": \"" + managementKey(s.management) +
         "\",\n  \"candidates\": " + std::to_string(s.candidates) +
         ",\n  \"valued\": " + std::to_string(s.valued) +
         ",\n  \"refused\": " + std::to_string(s.refused) +
         ",\n  \"model\": " + modelJson(r.model) +
         ",\n  \"by_expected\": " + rankedJson(r.result.byExpected, r) +
         ",\n  \"by_p5\": " + rankedJson(r.result.byP5, r) + "\n}\n";
}

std::string riskSearchCsv(const RiskSearchReport& r) {
  bool plantation = r.result.search.newPlantation;
  std::string out =
      "list,rank,ordinal,rotation,score,mean,sd,p5,p50,p95,below_zero_percent,"
      "expected_shortfall,lost_percent,script\n";
  for (auto [name, list] :
       {std::pair{"expected", &r.result.byExpected}, std::pair{"p5", &r.result.byP5}}) {
    int rank = 0;
    for (const econ::RiskRankedRegime& ranked : *list) {
      const Distribution& d = plantation && ranked.risk.lev ? *ranked.risk.lev : ranked.risk.npv;
      out += std::string(name) + "," + std::to_string(++rank) + "," +
             std::to_string(ranked.regime.ordinal) + "," + std::to_string(ranked.regime.rotation) +
             "," + jsonNumber(ranked.regime.score);
      for (const Statistic& s : kStatistics) out += "," + jsonNumber(d.*s.value * s.scale);
      out += "," + jsonNumber(ranked.risk.lostShare * 100) + ",\"";
      std::string script;
      for (const std::string& line : r.startLines) script += (script.empty() ? "" : "; ") + line;
      for (const Step& step : ranked.regime.steps) {
        script += (script.empty() ? "" : "; ") + scriptLine(step);
      }
      out += script + "\"\n";
    }
  }
  return out;
}

}  // namespace keldovar::cli
