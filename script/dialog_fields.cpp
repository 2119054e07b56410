// The dialogs' tables by dialog, and the ranges as the fields show them.
#include "script/dialog_fields.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "document/field_text.h"

namespace keldovar {
namespace {

template <typename Texts, typename Field, std::size_t N>
std::vector<const DialogField*> specsOf(const FieldTable<Texts, Field, N>& table) {
  std::vector<const DialogField*> specs;
  for (const TextField<Texts, Field>& row : table) specs.push_back(&row.spec);
  return specs;
}

}  // namespace

DialogFields dialogFields(DialogId dialog) {
  switch (dialog) {
    case DialogId::Unthinned:
      return {specsOf(kUnthinnedFields), {}};
    case DialogId::Thinned:
      return {specsOf(kThinnedFields), {}};
    case DialogId::PercentRemoved:
      return {specsOf(kPercentRemovedFields), {}};
    case DialogId::Plantation:
      return {specsOf(kPlantationFields), {&kControlChoice}};
    case DialogId::Grow:
      return {specsOf(kGrowFields), {}};
    case DialogId::ResidualBA:
      return {specsOf(kResidualBAFields), {}};
    case DialogId::ThinToDBH:
      return {specsOf(kThinToDBHFields), {}};
    case DialogId::LowThinMethod:
      return {{}, {&kMethodChoice}};
    case DialogId::RowLow:
      return {specsOf(kRowLowFields), {}};
    case DialogId::Fertilize:
      return {specsOf(kFertilizeFields), {&kPhosphorusChoice}};
    case DialogId::Finance: {
      DialogFields fields;
      for (const DialogField& row : kFinanceFields) fields.texts.push_back(&row);
      return fields;
    }
    case DialogId::MerchLimits:
      return {specsOf(kMerchFields), {}};
    case DialogId::Carbon:
      return {specsOf(kCarbonFields), {}};
  }
  return {};
}

std::string rangeText(Bounds bounds) {
  std::string low = formatReal(bounds.low);
  if (std::isinf(bounds.high)) return low + " or more";
  return low + "-" + formatReal(bounds.high);
}

std::string rangeTip(const DialogField& field, Bounds bounds) {
  std::string tip = "Allowed: " + rangeText(bounds);
  if (field.unset == Unset::ByZero) tip += ", or 0";
  if (field.unset == Unset::ByEmpty) tip += ", or empty";
  return tip;
}

std::optional<std::size_t> choiceIndex(const ChoiceField& field, std::string_view word) {
  auto same = [word](const Choice& choice) {
    std::string_view w = choice.word;
    return std::equal(w.begin(), w.end(), word.begin(), word.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) ==
             std::tolower(static_cast<unsigned char>(b));
    });
  };
  auto found = std::find_if(field.choices.begin(), field.choices.end(), same);
  if (found == field.choices.end()) return std::nullopt;
  return static_cast<std::size_t>(found - field.choices.begin());
}

}  // namespace keldovar
