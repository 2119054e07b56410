// The Carbon dialog's checks.
#include "script/carbon_checks.h"

namespace keldovar {
namespace {

Exchanged<float> exchangeField(const CarbonTexts& texts, CarbonField field) {
  const TextField<CarbonTexts, CarbonField>& row = kCarbonFields[static_cast<std::size_t>(field)];
  return exchangeReal(texts.*row.text, RealRange{row.spec.bounds->low, row.spec.bounds->high});
}

}  // namespace

CarbonTexts openCarbon(const carbon::CarbonValues& current) {
  return {formatReal(static_cast<float>(current.price)),
          formatReal(static_cast<float>(current.baseline))};
}

Checked<carbon::CarbonValues, CarbonField> checkCarbon(const CarbonTexts& texts) {
  Exchanged<float> price = exchangeField(texts, CarbonField::Price);
  if (price.error) {
    return CheckFailure<CarbonField>{price.error->text, price.error->icon, CarbonField::Price, {}};
  }
  Exchanged<float> baseline = exchangeField(texts, CarbonField::Baseline);
  if (baseline.error) {
    return CheckFailure<CarbonField>{
        baseline.error->text, baseline.error->icon, CarbonField::Baseline, {}};
  }
  return carbon::CarbonValues{static_cast<double>(price.value),
                              static_cast<double>(baseline.value)};
}

Checked<carbon::CarbonValues, CarbonField> checkCarbonKeys(
    const carbon::CarbonValues& current, const std::map<std::string, std::string>& keys) {
  CarbonTexts texts = openCarbon(current);
  for (const TextField<CarbonTexts, CarbonField>& row : kCarbonFields) {
    if (auto given = keys.find(row.spec.key); given != keys.end()) texts.*row.text = given->second;
  }
  return checkCarbon(texts);
}

const char* carbonKey(CarbonField field) {
  return fieldSpec(kCarbonFields, field).key;
}

}  // namespace keldovar
