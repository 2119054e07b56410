// The Carbon dialog's checks.
#include "script/carbon_checks.h"

namespace keldovar {

CarbonTexts openCarbon(const carbon::CarbonValues& current) {
  return {formatReal(static_cast<float>(current.price)),
          formatReal(static_cast<float>(current.baseline))};
}

Checked<carbon::CarbonValues, CarbonField> checkCarbon(const CarbonTexts& texts) {
  Exchanged<float> price = exchangeReal(texts.price, kCarbonPriceRange);
  if (price.error) {
    return CheckFailure<CarbonField>{price.error->text, price.error->icon, CarbonField::Price, {}};
  }
  Exchanged<float> baseline = exchangeReal(texts.baseline, kCarbonBaselineRange);
  if (baseline.error) {
    return CheckFailure<CarbonField>{
        baseline.error->text, baseline.error->icon, CarbonField::Baseline, {}};
  }
  return carbon::CarbonValues{price.value, baseline.value};
}

Checked<carbon::CarbonValues, CarbonField> checkCarbonKeys(
    const carbon::CarbonValues& current, const std::map<std::string, std::string>& keys) {
  CarbonTexts texts = openCarbon(current);
  if (auto price = keys.find("price"); price != keys.end()) texts.price = price->second;
  if (auto baseline = keys.find("baseline"); baseline != keys.end()) {
    texts.baseline = baseline->second;
  }
  return checkCarbon(texts);
}

const char* carbonKey(CarbonField field) {
  return field == CarbonField::Price ? "price" : "baseline";
}

}  // namespace keldovar
