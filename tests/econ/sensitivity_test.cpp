// The sensitivity of real regimes: break-evens that give an NPV of 0 to the cent when put back,
// the IRR where the rate curve crosses zero, the tornado's order, and the options' checks.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/report_text.h"
#include "tests/econ/harvested_regime.h"

namespace keldovar::econ {
namespace {

bool zeroToTheCent(double value) {
  std::string shown = formatText("%.2f", value);
  return shown == "0.00" || shown == "-0.00";
}

float npvAt(const Harvested& h, const FinancialValues& values, Management m) {
  return netPresentValue(pricedFlows(h.regime, values), m);
}

TEST(Sensitivity, BreakEvensPutBackGiveZeroToTheCent) {
  SensitivityOptions options;
  options.rates = {1, 30, 0.25};
  int solved = 0;
  for (const char* script : {kPlantationTwoThins, kExistingThinned, kFertilizedPlantation}) {
    Harvested h = harvested(script);
    Sensitivity s = sensitivityOf(h.regime, h.values, options);
    for (Management m : {Management::Pulpwood, Management::Sawtimber}) {
      std::size_t i = indexOf(m);
      const BreakEvens& b = s.breakEven;
      // The sawtimber price does not enter pulpwood management; an existing stand pays no
      // establishment cost.
      EXPECT_EQ(b.harvestSaw[i].has_value(), m == Management::Sawtimber) << script;
      EXPECT_EQ(b.establishmentCost[i].has_value(), h.regime.newPlantation) << script;
      for (auto [value, field] :
           {std::pair{b.harvestSaw[i], &FinancialValues::harvestSaw},
            std::pair{b.harvestPulp[i], &FinancialValues::harvestPulp},
            std::pair{b.establishmentCost[i], &FinancialValues::establishmentCost}}) {
        if (!value) continue;
        FinancialValues back = h.values;
        back.*field = *value;
        EXPECT_TRUE(zeroToTheCent(npvAt(h, back, m))) << script << " " << *value;
        ++solved;
      }
      if (b.establishmentCost[i]) {
        FinancialValues back = h.values;
        back.establishmentCost = *b.establishmentCost[i];
        EXPECT_TRUE(zeroToTheCent(*landExpectationValue(pricedFlows(h.regime, back), m)));
      }
      // The IRR lies where the curve changes sign, and its NPV is 0 to the cent.
      EXPECT_EQ(b.irr[i].has_value(), h.regime.newPlantation);
      if (!b.irr[i]) continue;
      double irr = *b.irr[i] * 100;
      FinancialValues atIrr = h.values;
      atIrr.interestRate = static_cast<float>(irr);
      EXPECT_TRUE(zeroToTheCent(npvAt(h, atIrr, m))) << script << " " << irr;
      int crossings = 0;
      for (std::size_t k = 1; k < s.curve.size(); ++k) {
        if ((s.curve[k - 1].npv[i] > 0) != (s.curve[k].npv[i] > 0)) {
          ++crossings;
          EXPECT_LE(s.curve[k - 1].rate, irr);
          EXPECT_GE(s.curve[k].rate, irr);
        }
      }
      EXPECT_EQ(crossings, 1) << script;
    }
  }
  EXPECT_EQ(solved, 13);
}

TEST(Sensitivity, CurveAndTornado) {
  Harvested h = harvested(kPlantationTwoThins);
  SensitivityOptions options;
  options.rates = {2, 12, 0.5};
  Sensitivity s = sensitivityOf(h.regime, h.values, options);
  ASSERT_EQ(s.curve.size(), 21u);
  EXPECT_EQ(s.curve.back().rate, 12);
  // The document's own rate, 5 %, is the seventh point: the financial analysis's figures.
  EXPECT_EQ(formatText("%.2f", static_cast<double>(s.curve[6].npv[1])), "456.64");
  EXPECT_EQ(s.curve[6].lev[1], s.base[1].lev);
  ASSERT_EQ(s.tornado.size(), kFinancialFields.size());
  for (std::size_t k = 1; k < s.tornado.size(); ++k) {
    EXPECT_GE(s.tornado[k - 1].swing, s.tornado[k].swing);
  }
  // The rate moves the value most, then the sawtimber that pays most at this harvest; there is
  // no fertilization, so its cost moves nothing.
  EXPECT_EQ(kFinancialFields[s.tornado[0].field].scriptKey, std::string("interest"));
  EXPECT_EQ(kFinancialFields[s.tornado[1].field].scriptKey, std::string("harvest_saw"));
  EXPECT_EQ(kFinancialFields[s.tornado.back().field].scriptKey,
            std::string("midrotation_fert_cost"));
  EXPECT_EQ(s.tornado.back().swing, 0);
  for (const TornadoBar& bar : s.tornado) {
    if (kFinancialFields[bar.field].scriptKey != std::string("interest")) continue;
    EXPECT_FLOAT_EQ(bar.low, 3.5f);
    EXPECT_GT(bar.atLow[1].npv, s.base[1].npv);
    EXPECT_LT(bar.atHigh[1].npv, s.base[1].npv);
  }
}

TEST(Sensitivity, OptionsAreChecked) {
  struct Case {
    RateRange rates;
    double swing;
    const char* error;
  };
  const char* badRates =
      "rates: give FROM:TO:STEP in percent, 0 <= FROM <= TO <= 100, STEP above 0";
  for (const Case& c : std::initializer_list<Case>{
           {{2, 12, 0.5}, 30, ""},
           {{0, 100, 0.1}, 100, ""},
           {{5, 5, 1}, 1, ""},
           {{12, 2, 0.5}, 30, badRates},
           {{-1, 2, 0.5}, 30, badRates},
           {{2, 101, 0.5}, 30, badRates},
           {{2, 12, 0}, 30, badRates},
           {{2, 12, NAN}, 30, badRates},
           {{0, 100, 0.05}, 30, "rates: at most 1001 rates"},
           {{2, 12, 0.5}, 0, "swing: give a percentage above 0 and at most 100"},
           {{2, 12, 0.5}, 100.5, "swing: give a percentage above 0 and at most 100"},
       }) {
    EXPECT_EQ(checkSensitivityOptions({c.rates, c.swing, Management::Sawtimber}), c.error)
        << c.rates.from << ":" << c.rates.to << ":" << c.rates.step << " " << c.swing;
  }
  std::vector<double> rates = ratesOf({0, 100, 0.1});
  EXPECT_EQ(rates.size(), 1001u);
  EXPECT_NEAR(rates.back(), 100, 1e-9);
}

}  // namespace
}  // namespace keldovar::econ
