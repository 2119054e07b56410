// The sensitivity as text, JSON and CSV. Values are named by their script keys, the words the
// `financial` command reads; the JSON's numbers read back exactly, rates and IRRs in percent.
#include "cli/sensitivity_output.h"

#include "cli/output.h"
#include "document/field_text.h"
#include "engine/report_text.h"

namespace keldovar::cli {
namespace {

using econ::indexOf;
using econ::Management;

constexpr const char* kKeys[] = {"pulpwood", "sawtimber"};
constexpr const char* kManagementNames[] = {"pulpwood", "sawtimber+pulpwood"};

struct BreakEvenRow {
  const char* key;
  const char* unit;
  const econ::ByManagement<std::optional<float>> econ::BreakEvens::*values;
};
constexpr BreakEvenRow kBreakEvens[] = {
    {"harvest_saw", "$/ton", &econ::BreakEvens::harvestSaw},
    {"harvest_pulp", "$/ton", &econ::BreakEvens::harvestPulp},
    {"establishment_cost", "$/ac", &econ::BreakEvens::establishmentCost},
};

std::string keyOf(std::size_t field) {
  return kFinancialFields[field].scriptKey;
}

template <typename T>
std::string shown(const std::optional<T>& value, double scale = 1) {
  return value ? formatText("%.2f", static_cast<double>(*value) * scale) : std::string("none");
}

template <typename T>
std::string json(const std::optional<T>& value, double scale = 1) {
  if (!value) return "null";
  if (scale == 1) return jsonNumber(*value);
  return jsonNumber(static_cast<double>(*value) * scale);
}

template <typename T, typename Figure>
std::string byManagement(const econ::ByManagement<T>& figures, Figure figure) {
  return "{\"pulpwood\": " + figure(figures[0]) + ", \"sawtimber\": " + figure(figures[1]) + "}";
}

std::string measuresJson(const econ::ByManagement<econ::Measures>& measures, const char* npv,
                         const char* lev) {
  return std::string("\"") + npv + "\": " +
         byManagement(measures, [](const econ::Measures& m) { return jsonNumber(m.npv); }) +
         ", \"" + lev +
         "\": " + byManagement(measures, [](const econ::Measures& m) { return json(m.lev); });
}

std::string figureLine(const std::string& name, const std::string& pulpwood,
                       const std::string& sawtimber) {
  return formatText("%-40s %12s %19s\n", name.c_str(), pulpwood.c_str(), sawtimber.c_str());
}

std::string figuresText(const econ::Sensitivity& s) {
  std::string out = figureLine("", "Pulpwood", "Sawtimber+Pulpwood");
  out += figureLine("NPV ($/ac)", shown(std::optional<float>(s.base[0].npv)),
                    shown(std::optional<float>(s.base[1].npv)));
  out += figureLine("LEV ($/ac)", shown(s.base[0].lev), shown(s.base[1].lev));
  out += figureLine("IRR (%)", shown(s.breakEven.irr[0], 100), shown(s.breakEven.irr[1], 100));
  for (const BreakEvenRow& row : kBreakEvens) {
    const auto& values = s.breakEven.*row.values;
    out += figureLine(formatText("Break-even %s (%s)", row.key, row.unit), shown(values[0]),
                      shown(values[1]));
  }
  return out;
}

std::string curveText(const econ::Sensitivity& s) {
  std::string out =
      "\nNPV and LEV ($/ac) by interest rate\n  Rate %  NPV pulpwood  LEV pulpwood"
      "  NPV saw+pulp  LEV saw+pulp\n";
  for (const econ::RatePoint& p : s.curve) {
    out +=
        formatText("%8.2f %13.2f %13s %13.2f %13s\n", p.rate, static_cast<double>(p.npv[0]),
                   shown(p.lev[0]).c_str(), static_cast<double>(p.npv[1]), shown(p.lev[1]).c_str());
  }
  return out;
}

std::string tornadoText(const SensitivityReport& r) {
  std::size_t m = indexOf(r.options.management);
  std::string out =
      formatText("\nEach value %s %% lower and higher; largest effect on the %s NPV first\n",
                 formatReal(static_cast<float>(r.options.swing)).c_str(), kManagementNames[m]);
  out += formatText("  %-22s %9s %10s %11s %11s %10s\n", "Value", "Low", "High", "NPV low",
                    "NPV high", "Swing");
  for (const econ::TornadoBar& bar : r.sensitivity.tornado) {
    out += formatText("  %-22s %9.2f %10.2f %11.2f %11.2f %10.2f\n", keyOf(bar.field).c_str(),
                      static_cast<double>(bar.low), static_cast<double>(bar.high),
                      static_cast<double>(bar.atLow[m].npv), static_cast<double>(bar.atHigh[m].npv),
                      bar.swing);
  }
  return out;
}

std::string csvRow(const std::string& kind, const std::string& name, std::size_t management,
                   const std::string& value, const std::string& npv, const std::string& lev) {
  return kind + "," + name + "," + kKeys[management] + "," + value + "," + npv + "," + lev + "\n";
}

std::string blankIfNull(const std::string& json) {
  return json == "null" ? std::string() : json;
}

}  // namespace

std::string financialLine(const FinancialValues& values) {
  std::string line = "financial";
  for (const FinancialField& field : kFinancialFields) {
    line += std::string(" ") + field.scriptKey + "=" + formatReal(values.*field.value);
  }
  return line;
}

std::string valuesJson(const FinancialValues& values) {
  std::string out = "{";
  for (std::size_t i = 0; i < kFinancialFields.size(); ++i) {
    out +=
        (i > 0 ? ", \"" : "\"") + keyOf(i) + "\": " + jsonNumber(values.*kFinancialFields[i].value);
  }
  return out + "}";
}

std::string harvestName(const econ::RegimeQuantities& regime) {
  return formatText("the harvest at age %d (%s)", regime.rotation,
                    regime.newPlantation ? "a new plantation" : "an existing stand");
}

std::string sensitivityText(const SensitivityReport& r) {
  std::string out =
      "Sensitivity of " + harvestName(r.regime) + "\nAt " + financialLine(r.values) + "\n\n";
  return out + figuresText(r.sensitivity) + curveText(r.sensitivity) + tornadoText(r);
}

std::string sensitivityJson(const SensitivityReport& r) {
  const econ::Sensitivity& s = r.sensitivity;
  std::string out = formatText("{\n  \"harvest_age\": %d,\n  \"new_plantation\": %s,\n",
                               r.regime.rotation, r.regime.newPlantation ? "true" : "false");
  out += "  \"values\": " + valuesJson(r.values) + ",\n  \"management\": \"" +
         std::string(kKeys[indexOf(r.options.management)]) +
         "\",\n  \"swing\": " + jsonNumber(r.options.swing) + ",\n";
  for (std::size_t m = 0; m < 2; ++m) {
    out += std::string("  \"") + kKeys[m] + "\": {\"npv\": " + jsonNumber(s.base[m].npv) +
           ", \"lev\": " + json(s.base[m].lev) + ", \"irr\": " + json(s.breakEven.irr[m], 100) +
           ", \"break_even\": {";
    const char* separator = "\"";
    for (const BreakEvenRow& row : kBreakEvens) {
      out += separator + std::string(row.key) + "\": " + json((s.breakEven.*row.values)[m]);
      separator = ", \"";
    }
    out += "}},\n";
  }
  out += "  \"rates\": [";
  for (std::size_t i = 0; i < s.curve.size(); ++i) {
    const econ::RatePoint& p = s.curve[i];
    out += std::string(i > 0 ? ",\n    " : "\n    ") + "{\"rate\": " + jsonNumber(p.rate) +
           ", \"npv\": " + byManagement(p.npv, [](float v) { return jsonNumber(v); }) +
           ", \"lev\": " +
           byManagement(p.lev, [](const std::optional<double>& v) { return json(v); }) + "}";
  }
  out += "\n  ],\n  \"tornado\": [";
  for (std::size_t i = 0; i < s.tornado.size(); ++i) {
    const econ::TornadoBar& bar = s.tornado[i];
    out += std::string(i > 0 ? ",\n    " : "\n    ") + "{\"value\": \"" + keyOf(bar.field) +
           "\", \"low\": " + jsonNumber(bar.low) + ", \"high\": " + jsonNumber(bar.high) +
           ", \"swing\": " + jsonNumber(bar.swing) + ",\n     " +
           measuresJson(bar.atLow, "npv_low", "lev_low") + ",\n     " +
           measuresJson(bar.atHigh, "npv_high", "lev_high") + "}";
  }
  return out + "\n  ]\n}\n";
}

std::string sensitivityCsv(const SensitivityReport& r) {
  const econ::Sensitivity& s = r.sensitivity;
  std::string out = "kind,name,management,value,npv,lev\n";
  for (std::size_t m = 0; m < 2; ++m) {
    out += csvRow("base", "", m, "", jsonNumber(s.base[m].npv), blankIfNull(json(s.base[m].lev)));
    out += csvRow("irr", "interest", m, blankIfNull(json(s.breakEven.irr[m], 100)), "", "");
    for (const BreakEvenRow& row : kBreakEvens) {
      out +=
          csvRow("break_even", row.key, m, blankIfNull(json((s.breakEven.*row.values)[m])), "", "");
    }
  }
  for (const econ::RatePoint& p : s.curve) {
    for (std::size_t m = 0; m < 2; ++m) {
      out += csvRow("rate", "interest", m, jsonNumber(p.rate), jsonNumber(p.npv[m]),
                    blankIfNull(json(p.lev[m])));
    }
  }
  for (const econ::TornadoBar& bar : s.tornado) {
    for (std::size_t m = 0; m < 2; ++m) {
      out += csvRow("low", keyOf(bar.field), m, jsonNumber(bar.low), jsonNumber(bar.atLow[m].npv),
                    blankIfNull(json(bar.atLow[m].lev)));
      out += csvRow("high", keyOf(bar.field), m, jsonNumber(bar.high),
                    jsonNumber(bar.atHigh[m].npv), blankIfNull(json(bar.atHigh[m].lev)));
    }
  }
  return out;
}

}  // namespace keldovar::cli
