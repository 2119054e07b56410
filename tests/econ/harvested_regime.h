// A regime script run through the real engine, and the harvest it ends with: what the
// sensitivity and risk tests value.
#pragma once

#include <gtest/gtest.h>

#include "econ/cash_flows.h"
#include "econ/sensitivity.h"
#include "script/script.h"

namespace keldovar::econ {

struct Harvested {
  RegimeQuantities regime;
  FinancialValues values;
};

inline Harvested harvested(const std::string& script) {
  StepDocument doc;
  for (const Command& command : parseScript(script).commands) {
    EXPECT_TRUE(doc.run({command.kind, command.fields})) << script;
  }
  const ReportTable* table = newestHarvest(doc.content().store);
  EXPECT_NE(table, nullptr) << script;
  if (table == nullptr) return {};
  return {*harvestQuantities(*table), doc.content().settings.financial};
}

// Two thinnings of a new plantation; an existing thinned stand thinned once; a fertilized
// plantation harvested without thinning.
inline const char* const kPlantationTwoThins =
    "plantation si=65 trees=600 survival=85 control=herbwoody\n"
    "grow 16\nthin rowlow ba=75 row=33\ngrow 26\nthin thinomatic ba=90\ngrow 32\nharvest\n";
inline const char* const kExistingThinned =
    "thinned age=22 ba=0 trees=320 thinage=15 si=65 pctba=33\n"
    "grow 30\nthin low ba=85\ngrow 40\nharvest\n";
inline const char* const kFertilizedPlantation =
    "plantation si=60 trees=700 survival=80 control=woody\nfinancial interest=7.5\n"
    "grow 14\nfertilize n=150\ngrow 28\nharvest\n";

}  // namespace keldovar::econ
