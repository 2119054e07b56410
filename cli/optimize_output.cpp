// The best regimes of a search as text, JSON and CSV, and the JSON read back for a merge.
#include <cfloat>
#include <cmath>

#include "cli/json_reader.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "engine/report_text.h"

namespace keldovar::cli {
namespace {

using econ::Management;

std::string optionalNumber(const std::optional<double>& value) {
  return value ? jsonNumber(*value) : std::string("null");
}

std::string measuresJson(const ReportedMeasures& m) {
  return "{\"npv\": " + formatText("%.9g", static_cast<double>(m.npv)) +
         ", \"lev\": " + optionalNumber(m.lev) + ", \"irr\": " + optionalNumber(m.irrPercent) + "}";
}

std::string money(const std::optional<double>& value) {
  return value ? formatText("$%.2f", *value) : std::string("none");
}

std::string percent(const std::optional<double>& irr) {
  return irr ? formatText("%.2f %%", *irr) : std::string("none");
}

std::string measuresText(const char* name, const ReportedMeasures& m) {
  return formatText("     %-22s NPV $%.2f  LEV %s  IRR %s\n", name, static_cast<double>(m.npv),
                    money(m.lev).c_str(), percent(m.irrPercent).c_str());
}

const char* managementName(Management m) {
  return m == Management::Pulpwood ? "pulpwood" : "sawtimber";
}

constexpr double kExact = 9007199254740992.0;  // 2^53: whole numbers a double holds exactly

// The members of one object of a result, each checked for its kind and range; any that fails
// makes the whole result unreadable.
class Members {
 public:
  explicit Members(const JsonValue* object)
      : object_(object), ok_(object != nullptr && object->kind == JsonValue::Kind::Object) {}

  bool ok() const { return ok_; }
  const JsonValue* member(const char* key) { return ok_ ? object_->member(key) : nullptr; }

  double number(const char* key, double low = -DBL_MAX, double high = DBL_MAX) {
    const JsonValue* v = member(key);
    if (v == nullptr || v->kind != JsonValue::Kind::Number || !(v->number >= low) ||
        !(v->number <= high)) {
      ok_ = false;
      return 0;
    }
    return v->number;
  }

  std::int64_t whole(const char* key, double high = kExact) {
    double v = number(key, 0, high);
    if (v != std::floor(v)) ok_ = false;
    return static_cast<std::int64_t>(v);
  }

  std::optional<double> optional(const char* key) {
    const JsonValue* v = member(key);
    if (v != nullptr && v->kind == JsonValue::Kind::Null) return std::nullopt;
    return number(key);
  }

  std::string text(const char* key) {
    const JsonValue* v = member(key);
    if (v == nullptr || v->kind != JsonValue::Kind::String) ok_ = false;
    return ok_ ? v->text : std::string();
  }

 private:
  const JsonValue* object_;
  bool ok_;
};

bool measuresOf(const JsonValue* object, ReportedMeasures& m) {
  Members members(object);
  m.npv = static_cast<float>(
      members.number("npv", -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
  m.lev = members.optional("lev");
  m.irrPercent = members.optional("irr");
  return members.ok();
}

std::optional<ReportedRegime> regimeOf(const JsonValue& v) {
  Members members(&v);
  ReportedRegime r;
  r.ordinal = members.whole("ordinal");
  r.score = members.number("score");
  r.rotation = static_cast<int>(members.whole("rotation", 1000));
  r.harvestPulpTons = members.number("harvest_pulp_tons");
  r.harvestIUPulpTons = members.number("harvest_iu_pulp_tons");
  r.harvestSawTons = members.number("harvest_saw_tons");
  const JsonValue* script = members.member("script");
  if (!members.ok() || !measuresOf(v.member("pulpwood"), r.pulpwood) ||
      !measuresOf(v.member("sawtimber"), r.sawtimber) || script == nullptr ||
      script->kind != JsonValue::Kind::Array) {
    return std::nullopt;
  }
  for (const JsonValue& line : script->items) {
    if (line.kind != JsonValue::Kind::String) return std::nullopt;
    r.script.push_back(line.text);
  }
  return r;
}

}  // namespace

std::string searchText(const SearchReport& report) {
  std::string out = formatText(
      "Best regimes by %s, %s management\n%lld regimes: %lld valued, %lld refused by the engine\n",
      report.newPlantation ? "land expectation value" : "net present value",
      report.management == Management::Pulpwood ? "pulpwood" : "sawtimber+pulpwood",
      static_cast<long long>(report.candidates), static_cast<long long>(report.valued),
      static_cast<long long>(report.refused));
  int rank = 0;
  for (const ReportedRegime& r : report.regimes) {
    out += formatText("\n%3d. rotation %d, %s%.2f\n", ++rank, r.rotation,
                      report.newPlantation ? "LEV $" : "NPV $", r.score);
    out += measuresText("sawtimber+pulpwood:", r.sawtimber);
    out += measuresText("pulpwood:", r.pulpwood);
    out += formatText("     harvest: %.1f pulp tons, %.1f sawtimber tons, %.1f IU pulp tons\n",
                      r.harvestPulpTons, r.harvestSawTons, r.harvestIUPulpTons);
    for (const std::string& line : r.script) out += "       " + line + "\n";
  }
  return out;
}

std::string searchJson(const SearchReport& report) {
  std::string out = "{\n  \"ranked_by\": \"" + std::string(report.newPlantation ? "lev" : "npv") +
                    "\",\n  \"management\": \"" + managementName(report.management) +
                    "\",\n  \"new_plantation\": " + (report.newPlantation ? "true" : "false") +
                    ",\n  \"best_count\": " + std::to_string(report.best) +
                    ",\n  \"candidates\": " + std::to_string(report.candidates) +
                    ",\n  \"valued\": " + std::to_string(report.valued) +
                    ",\n  \"refused\": " + std::to_string(report.refused) + ",\n  \"best\": [";
  for (std::size_t i = 0; i < report.regimes.size(); ++i) {
    const ReportedRegime& r = report.regimes[i];
    out += i > 0 ? ",\n    {" : "\n    {";
    out += "\"ordinal\": " + std::to_string(r.ordinal) + ", \"score\": " + jsonNumber(r.score) +
           ", \"rotation\": " + std::to_string(r.rotation) +
           ",\n     \"sawtimber\": " + measuresJson(r.sawtimber) +
           ",\n     \"pulpwood\": " + measuresJson(r.pulpwood) +
           ",\n     \"harvest_pulp_tons\": " + jsonNumber(r.harvestPulpTons) +
           ", \"harvest_iu_pulp_tons\": " + jsonNumber(r.harvestIUPulpTons) +
           ", \"harvest_saw_tons\": " + jsonNumber(r.harvestSawTons) + ",\n     \"script\": [";
    for (std::size_t l = 0; l < r.script.size(); ++l) {
      out += (l > 0 ? ", " : "") + jsonString(r.script[l]);
    }
    out += "]}";
  }
  return out + (report.regimes.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

std::string searchCsv(const SearchReport& report) {
  std::string out =
      "rank,ordinal,rotation,score,npv_sawtimber,lev_sawtimber,irr_sawtimber,npv_pulpwood,"
      "lev_pulpwood,irr_pulpwood,harvest_pulp_tons,harvest_iu_pulp_tons,harvest_saw_tons,script\n";
  int rank = 0;
  for (const ReportedRegime& r : report.regimes) {
    out += std::to_string(++rank) + "," + std::to_string(r.ordinal) + "," +
           std::to_string(r.rotation) + "," + jsonNumber(r.score);
    for (const ReportedMeasures* m : {&r.sawtimber, &r.pulpwood}) {
      std::string lev = m->lev ? jsonNumber(*m->lev) : "";
      std::string irr = m->irrPercent ? jsonNumber(*m->irrPercent) : "";
      out += "," + formatText("%.9g", static_cast<double>(m->npv)) + "," + lev + "," + irr;
    }
    out += "," + jsonNumber(r.harvestPulpTons) + "," + jsonNumber(r.harvestIUPulpTons) + "," +
           jsonNumber(r.harvestSawTons) + ",\"";
    for (std::size_t l = 0; l < r.script.size(); ++l) out += (l > 0 ? "; " : "") + r.script[l];
    out += "\"\n";
  }
  return out;
}

std::optional<SearchReport> readSearchJson(std::string_view text) {
  std::optional<JsonValue> json = readJson(text);
  if (!json) return std::nullopt;
  Members members(&*json);
  SearchReport report;
  std::string ranked = members.text("ranked_by");
  std::string management = members.text("management");
  report.newPlantation = ranked == "lev";
  report.management = management == "pulpwood" ? Management::Pulpwood : Management::Sawtimber;
  report.best = static_cast<int>(members.whole("best_count", econ::kMaxBest));
  report.candidates = members.whole("candidates");
  report.valued = members.whole("valued");
  report.refused = members.whole("refused");
  const JsonValue* best = members.member("best");
  if (!members.ok() || (ranked != "lev" && ranked != "npv") ||
      (management != "pulpwood" && management != "sawtimber") || report.best < 1 ||
      best == nullptr || best->kind != JsonValue::Kind::Array ||
      best->items.size() > static_cast<std::size_t>(report.best)) {
    return std::nullopt;
  }
  for (const JsonValue& item : best->items) {
    std::optional<ReportedRegime> regime = regimeOf(item);
    if (!regime) return std::nullopt;
    report.regimes.push_back(std::move(*regime));
  }
  return report;
}

}  // namespace keldovar::cli
