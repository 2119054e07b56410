// The nine values of the financial analysis with their defaults, and the one table that
// describes them: stored key, script key, accepted range and dialog label, in document order.
#pragma once

#include <array>
#include <cstddef>

namespace keldovar {

// Interest rate (percent), product values ($/ton) and costs ($/acre) of the financial analysis,
// with their defaults; the table below reads the defaults from here.
struct FinancialValues {
  float interestRate = 5.0f;
  float oneThinPulp = 10.0f;
  float oneThinSaw = 15.0f;
  float nextThinPulp = 10.0f;
  float nextThinSaw = 20.0f;
  float harvestPulp = 10.0f;
  float harvestSaw = 25.0f;
  float establishmentCost = 250.0f;
  float midrotationFertCost = 120.0f;
};

// What a value is counted per: the interest rate is a plain percent.
enum class FinancialBasis : unsigned char { Rate, PerTon, PerAcre };

struct FinancialField {
  float FinancialValues::*value;
  const char* settingsKey;  // in the settings store's "Options" section
  const char* scriptKey;    // in the batch runner's "financial" command
  float min;
  float max;
  const char* label;  // the Financial Analysis Values dialog's
  FinancialBasis basis;
};

inline constexpr std::size_t kFinancialValueCount = 9;

inline constexpr std::array<FinancialField, kFinancialValueCount> kFinancialFields{{
    {&FinancialValues::interestRate, "interest_rate", "interest", 1, 20,
     "Interest Rate (1.0% - 20.0%)", FinancialBasis::Rate},
    {&FinancialValues::oneThinPulp, "one_thin_pulp", "one_thin_pulp", 0, 60,
     "First Thin: Value of Pulpwood ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::oneThinSaw, "one_thin_saw", "one_thin_saw", 0, 150,
     "First Thin: Value of Sawtimber ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::nextThinPulp, "next_thin_pulp", "next_thin_pulp", 0, 60,
     "Subsequent Thins: Value of Pulpwood ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::nextThinSaw, "next_thin_saw", "next_thin_saw", 0, 150,
     "Subsequent Thins: Value of Sawtimber ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::harvestPulp, "harvest_pulp", "harvest_pulp", 0, 60,
     "Harvest: Value of Pulpwood ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::harvestSaw, "harvest_saw", "harvest_saw", 0, 300,
     "Harvest: Value of Sawtimber ($/ton)", FinancialBasis::PerTon},
    {&FinancialValues::establishmentCost, "establishment_cost", "establishment_cost", 0, 700,
     "Establishment Costs ($/ac)", FinancialBasis::PerAcre},
    {&FinancialValues::midrotationFertCost, "midrotation_fert_cost", "midrotation_fert_cost", 0,
     1000, "Mid-rotation fertilization costs ($/ac)", FinancialBasis::PerAcre},
}};

// A value's default, as a missing stored setting reads.
constexpr float defaultOf(const FinancialField& field) {
  return FinancialValues{}.*field.value;
}

}  // namespace keldovar
