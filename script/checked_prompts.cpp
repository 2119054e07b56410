// Prompts answered from field texts, through the dialogs' own tables, opening rules and checks.
#include "script/checked_prompts.h"

#include <utility>

#include "script/dialog_checks.h"
#include "script/script.h"

namespace keldovar {
namespace {

std::string textOf(const FieldTexts& fields, const std::string& key, std::string absent = {}) {
  auto it = fields.find(key);
  return it == fields.end() ? std::move(absent) : it->second;
}

// The dialog's texts as the script gives them: a key not given is an empty field, or, with
// `kept`, keeps the text the dialog opened with.
template <typename Texts, typename Field, std::size_t N>
Texts textsFrom(const FieldTexts& given, const FieldTable<Texts, Field, N>& table, Texts texts = {},
                bool kept = false) {
  for (const TextField<Texts, Field>& row : table) {
    texts.*row.text = textOf(given, row.spec.key, kept ? texts.*row.text : std::string());
  }
  return texts;
}

std::string soleText(const FieldTexts& given, const FieldTable<SoleText, SoleField, 1>& table) {
  return textsFrom(given, table).value;
}

// The choice a radio group's word names, or `absent` when the script gives none it knows.
std::size_t choiceOf(const FieldTexts& given, const ChoiceField& field, std::size_t absent) {
  return choiceIndex(field, textOf(given, field.key)).value_or(absent);
}

// A refusal names the key of the field it focuses, then shows its message.
template <typename Entry, typename Field>
std::optional<Entry> settle(FieldSource& source, const Checked<Entry, Field>& checked,
                            const std::vector<const DialogField*>& fields) {
  if (checked.ok()) return checked.accepted();
  const CheckFailure<Field>& failure = checked.failure();
  if (failure.focus && static_cast<std::size_t>(*failure.focus) < fields.size()) {
    source.fieldRefused(fields[static_cast<std::size_t>(*failure.focus)]->key);
  }
  source.showMessage(failure.message());
  return std::nullopt;
}

template <typename Entry, typename Field>
std::optional<Entry> settle(FieldSource& source, const Checked<Entry, Field>& checked,
                            DialogId dialog) {
  return settle(source, checked, dialogFields(dialog).texts);
}

}  // namespace

void CheckedPrompts::showMessage(const Message& message) {
  source_.showMessage(message);
}

std::optional<UnthinnedEntry> CheckedPrompts::askUnthinned(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Unthinned);
  if (!f) return std::nullopt;
  return settle(source_, checkUnthinned(textsFrom(*f, kUnthinnedFields)), DialogId::Unthinned);
}

std::optional<ThinnedEntry> CheckedPrompts::askThinned(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Thinned);
  if (!f) return std::nullopt;
  return settle(source_, checkThinned(textsFrom(*f, kThinnedFields)), DialogId::Thinned);
}

std::optional<PercentRemovedEntry> CheckedPrompts::askPercentRemoved(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::PercentRemoved);
  if (!f) return std::nullopt;
  return settle(source_, checkPercentRemoved(textsFrom(*f, kPercentRemovedFields)),
                DialogId::PercentRemoved);
}

std::optional<PlantationEntry> CheckedPrompts::askPlantation(const RememberedValues&) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Plantation);
  if (!f) return std::nullopt;
  PlantationTexts t = textsFrom(*f, kPlantationFields);
  t.control = static_cast<VegetationControl>(choiceOf(*f, kControlChoice, 0));
  return settle(source_, checkPlantation(t), DialogId::Plantation);
}

std::optional<int> CheckedPrompts::askGrowAge(const StandFacts& stand) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Grow);
  if (!f) return std::nullopt;
  std::string age = growAgeText(soleText(*f, kGrowFields), stand.AG);
  return settle(source_, checkGrowAge(age, stand), DialogId::Grow);
}

std::optional<float> CheckedPrompts::askResidualBA(const RememberedValues&,
                                                   const StandFacts& stand) {
  if (std::optional<Message> refused = thinningOpeningRefusal(stand)) {
    source_.showMessage(*refused);
    return std::nullopt;
  }
  std::optional<FieldTexts> f = source_.fields(DialogId::ResidualBA);
  if (!f) return std::nullopt;
  return settle(source_, checkResidualBA(soleText(*f, kResidualBAFields), stand),
                DialogId::ResidualBA);
}

std::optional<float> CheckedPrompts::askThinToDBH(const RememberedValues&,
                                                  const StandFacts& stand) {
  std::optional<FieldTexts> f = source_.fields(DialogId::ThinToDBH);
  if (!f) return std::nullopt;
  return settle(source_, checkThinToDBH(soleText(*f, kThinToDBHFields), stand),
                DialogId::ThinToDBH);
}

int CheckedPrompts::askLowThinMethod() {
  std::optional<FieldTexts> f = source_.fields(DialogId::LowThinMethod);
  LowThinChoice choice = LowThinChoice::Neither;
  if (f) {
    // The choices count from ByDBH; a word the dialog does not know chooses neither.
    constexpr std::size_t kNeither = kLowThinMethods.size();
    constexpr auto kOpening = static_cast<std::size_t>(kLowThinOpening) - 1;
    std::size_t index =
        f->count(kMethodChoice.key) == 0 ? kOpening : choiceOf(*f, kMethodChoice, kNeither);
    if (index < kNeither) choice = static_cast<LowThinChoice>(index + 1);
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
  return settle(source_, checkRowLow(textsFrom(*f, kRowLowFields), stand), DialogId::RowLow);
}

// Phosphorus is given unless the script says "no".
std::optional<FertilizeEntry> CheckedPrompts::askFertilize() {
  std::optional<FieldTexts> f = source_.fields(DialogId::Fertilize);
  if (!f) return std::nullopt;
  FertilizeTexts t = textsFrom(*f, kFertilizeFields);
  t.phosphorus = choiceOf(*f, kPhosphorusChoice, 0) == 0;
  return settle(source_, checkFertilize(t), DialogId::Fertilize);
}

std::optional<FinanceEntry> CheckedPrompts::askFinance(const FinancialValues& current) {
  std::optional<FieldTexts> f = source_.fields(DialogId::Finance);
  if (!f) return std::nullopt;
  FinanceTexts t = openFinance(current);
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    t.fields[i] = textOf(*f, kFinanceFields[i].key, t.fields[i]);
  }
  return settle(source_, checkFinance(t), DialogId::Finance);
}

std::optional<MerchEntry> CheckedPrompts::askMerchLimits(const DocumentSettings& current) {
  std::optional<FieldTexts> f = source_.fields(DialogId::MerchLimits);
  if (!f) return std::nullopt;
  MerchTexts t = textsFrom(*f, kMerchFields, openMerchLimits(current), true);
  return settle(source_, checkMerchLimits(t), DialogId::MerchLimits);
}

}  // namespace keldovar
