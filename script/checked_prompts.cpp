// Prompts answered from field texts, through the dialogs' own opening rules and checks.
#include "script/checked_prompts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

#include "script/dialog_checks.h"
#include "script/script.h"

namespace keldovar {
namespace {

std::string textOf(const FieldTexts& fields, const std::string& key, std::string absent = {}) {
  auto it = fields.find(key);
  return it == fields.end() ? std::move(absent) : it->second;
}

// Choice words are matched without regard to case, like the script's own words.
bool sameWord(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

VegetationControl controlOf(const std::string& word) {
  if (sameWord(word, "woody")) return VegetationControl::Woody;
  if (sameWord(word, "herbwoody")) return VegetationControl::HerbAndWoody;
  return VegetationControl::None;
}

// `keys` names the dialog's fields in the order of its Field enumeration.
template <typename Entry, typename Field, std::size_t N>
std::optional<Entry> settle(FieldSource& source, const Checked<Entry, Field>& checked,
                            const std::array<const char*, N>& keys) {
  if (checked.ok()) return checked.accepted();
  const CheckFailure<Field>& failure = checked.failure();
  if (failure.focus && static_cast<std::size_t>(*failure.focus) < N) {
    source.fieldRefused(keys[static_cast<std::size_t>(*failure.focus)]);
  }
  source.showMessage(failure.message());
  return std::nullopt;
}

template <std::size_t N>
using Keys = std::array<const char*, N>;

// The finance dialog's script keys, in the order of FinanceField.
constexpr Keys<kFinanceFieldCount> financeKeys() {
  Keys<kFinanceFieldCount> keys{};
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) keys[i] = kFinancialFields[i].scriptKey;
  return keys;
}

}  // namespace

void CheckedPrompts::showMessage(const Message& message) {
  source_.showMessage(message);
}

std::optional<UnthinnedEntry> CheckedPrompts::askUnthinned(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Unthinned);
  if (!f) return std::nullopt;
  UnthinnedTexts t{.trees = textOf(*f, "trees"),
                   .age = textOf(*f, "age"),
                   .basalArea = textOf(*f, "ba"),
                   .height = textOf(*f, "height"),
                   .siteIndex = textOf(*f, "si")};
  return settle(source_, checkUnthinned(t), Keys<5>{"trees", "age", "ba", "height", "si"});
}

std::optional<ThinnedEntry> CheckedPrompts::askThinned(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Thinned);
  if (!f) return std::nullopt;
  ThinnedTexts t{.age = textOf(*f, "age"),
                 .basalArea = textOf(*f, "ba"),
                 .trees = textOf(*f, "trees"),
                 .thinAge = textOf(*f, "thinage"),
                 .height = textOf(*f, "height"),
                 .siteIndex = textOf(*f, "si")};
  return settle(source_, checkThinned(t), Keys<6>{"age", "ba", "trees", "thinage", "height", "si"});
}

std::optional<PercentRemovedEntry> CheckedPrompts::askPercentRemoved(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::PercentRemoved);
  if (!f) return std::nullopt;
  PercentRemovedTexts t{.trees = textOf(*f, "pcttrees"), .basalArea = textOf(*f, "pctba")};
  return settle(source_, checkPercentRemoved(t), Keys<2>{"pcttrees", "pctba"});
}

std::optional<PlantationEntry> CheckedPrompts::askPlantation(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Plantation);
  if (!f) return std::nullopt;
  PlantationTexts t{.siteIndex = textOf(*f, "si"),
                    .trees = textOf(*f, "trees"),
                    .survival = textOf(*f, "survival"),
                    .control = controlOf(textOf(*f, "control"))};
  return settle(source_, checkPlantation(t), Keys<3>{"si", "trees", "survival"});
}

std::optional<int> CheckedPrompts::askGrowAge(const StandFacts& stand) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Grow);
  if (!f) return std::nullopt;
  std::string age = growAgeText(textOf(*f, "age"), stand.AG);
  return settle(source_, checkGrowAge(age, stand), Keys<1>{"age"});
}

std::optional<float> CheckedPrompts::askResidualBA(const RememberedValues&,
                                                   const StandFacts& stand) {
  if (std::optional<Message> refused = thinningOpeningRefusal(stand)) {
    source_.showMessage(*refused);
    return std::nullopt;
  }
  std::optional<FieldTexts> f = source_.fields(DialogId::ResidualBA);
  if (!f) return std::nullopt;
  return settle(source_, checkResidualBA(textOf(*f, "ba"), stand), Keys<1>{"ba"});
}

std::optional<float> CheckedPrompts::askThinToDBH(const RememberedValues&,
                                                  const StandFacts& stand) {
  std::optional<FieldTexts> f = source_.fields(DialogId::ThinToDBH);
  if (!f) return std::nullopt;
  return settle(source_, checkThinToDBH(textOf(*f, "dbh"), stand), Keys<1>{"dbh"});
}

int CheckedPrompts::askLowThinMethod() {
  std::optional<FieldTexts> f = source_.fields(DialogId::LowThinMethod);
  LowThinChoice choice = LowThinChoice::Neither;
  if (f) {
    auto method = f->find("method");
    if (method == f->end()) {
      choice = kLowThinOpening;
    } else if (sameWord(method->second, "dbh")) {
      choice = LowThinChoice::ByDBH;
    } else if (sameWord(method->second, "ba")) {
      choice = LowThinChoice::ByBasalArea;
    }
  }
  return static_cast<int>(choice);
}

std::optional<RowLowEntry> CheckedPrompts::askRowLow(const RememberedValues&,
                                                     const StandFacts& stand) {
  if (std::optional<Message> refused = thinningOpeningRefusal(stand)) {
    source_.showMessage(*refused);
    return std::nullopt;
  }
  std::optional<FieldTexts> f = source_.fields(DialogId::RowLow);
  if (!f) return std::nullopt;
  RowLowTexts t{.residual = textOf(*f, "ba"), .rowPercent = textOf(*f, "row")};
  return settle(source_, checkRowLow(t, stand), Keys<2>{"ba", "row"});
}

std::optional<FertilizeEntry> CheckedPrompts::askFertilize() {
  std::optional<FieldTexts> f = source_.fields(DialogId::Fertilize);
  if (!f) return std::nullopt;
  FertilizeTexts t{.nitrogen = textOf(*f, "n"),
                   .phosphorus = !sameWord(textOf(*f, "p", "yes"), "no")};
  return settle(source_, checkFertilize(t), Keys<1>{"n"});
}

std::optional<FinanceEntry> CheckedPrompts::askFinance(const FinancialValues& current) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Finance);
  if (!f) return std::nullopt;
  FinanceTexts t = openFinance(current);
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    t.fields[i] = textOf(*f, kFinancialFields[i].scriptKey, t.fields[i]);
  }
  return settle(source_, checkFinance(t), financeKeys());
}

std::optional<MerchEntry> CheckedPrompts::askMerchLimits(const DocumentSettings& current) {
  std::optional<FieldTexts> f = source_.fields(DialogId::MerchLimits);
  if (!f) return std::nullopt;
  MerchTexts t = openMerchLimits(current);
  t.topDiameter = textOf(*f, "top", t.topDiameter);
  t.sawThreshold = textOf(*f, "saw", t.sawThreshold);
  t.pulpThreshold = textOf(*f, "pulp", t.pulpThreshold);
  return settle(source_, checkMerchLimits(t), Keys<3>{"top", "saw", "pulp"});
}

}  // namespace keldovar
