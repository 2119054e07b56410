// A dialog field in the unit system the dialog is shown in: its label, the range it shows, the
// text it opens with, and what a typed metric text becomes before the field's checks read it.
// Stored values and the checks stay imperial; metric is converted on the way in and out.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/dialog_checks.h"
#include "units/units.h"

namespace keldovar {

// A range as a check applies it, in stored values; doubles, so that a bound the stand sets is
// written exactly as the check writes it.
struct ValueRange {
  double low;
  double high;
};
inline ValueRange valueRange(Bounds b) {
  return {static_cast<double>(b.low), static_cast<double>(b.high)};
}

// The ranges the stand sets, as the residual basal area and thin-to DBH checks apply them.
ValueRange residualRange(const DialogField& field, const StandFacts& stand);
ValueRange thinToDBHRange(const StandFacts& stand);

// Whether the field is typed and shown converted in this unit system.
bool typedConverted(const DialogField& field, UnitSystem units);

// The label with the unit system's unit: "Site Index (m)", "Trees per Hectare",
// "Value of Sawtimber ($/t)".
std::string fieldLabel(std::string_view label, Quantity quantity, UnitSystem units);
inline std::string fieldLabel(const DialogField& field, UnitSystem units) {
  return fieldLabel(field.label, field.quantity, units);
}

// The range the field shows for a stored range: in metric each bound is converted and rounded
// inward, to a whole tree per hectare or to a tenth otherwise, and moved a further step inward
// while its stored value would fall outside; so every value inside the shown range gives a
// stored value inside the stored range.
ValueRange shownRange(const DialogField& field, ValueRange stored, UnitSystem units);

// The text a stored value's text opens with: in metric the shortest that gives back the same
// stored value; text without a number as it is.
std::string shownText(const DialogField& field, std::string_view stored, UnitSystem units);

// The text the checks read for a typed text: in metric converted exactly and rounded as the
// field's kind requires (an integer field takes the nearest whole number, a real one the
// nearest single-precision value, written in the fewest digits that give it back); text without
// a number is passed as it is, for the checks to refuse or read as 0.
std::string storedText(const DialogField& field, std::string_view typed, UnitSystem units);

// What the model will use for a typed metric text: "= 66 ft"; empty when the text holds no
// number or the field is not converted.
std::string storedHint(const DialogField& field, std::string_view typed, UnitSystem units);

// A check's refusal as the unit system speaks it: the field's range refusal for the stored
// range is given for the shown range instead, and a metric integer field, which takes
// decimals, asks for a number; any other text is kept.
std::string shownRefusal(const DialogField& field, std::optional<ValueRange> stored,
                         std::string_view text, UnitSystem units);

// The range refusal of a typed value outside the shown range, which the rounding may leave
// inside the stored one; a value that leaves the field unset is never refused here.
std::optional<std::string> shownRangeRefusal(const DialogField& field, ValueRange stored,
                                             std::string_view typed, UnitSystem units);

// A field of a dialog as its typed texts are checked: the range its check applies, the
// table's unless the stand narrows it; none when the check applies none.
struct TypedField {
  const DialogField* spec;
  std::optional<ValueRange> range;
};
template <typename Texts, typename Field, std::size_t N>
std::vector<TypedField> typedFields(const FieldTable<Texts, Field, N>& table) {
  std::vector<TypedField> fields;
  for (const TextField<Texts, Field>& row : table) {
    std::optional<ValueRange> range;
    if (row.spec.bounds) range = valueRange(*row.spec.bounds);
    fields.push_back({&row.spec, range});
  }
  return fields;
}

// Runs a dialog's check on its typed texts. In metric the texts are converted first, so the
// accepted entry is exactly the one the converted imperial texts give; a refusal speaks
// metric, and a value outside the shown range is refused after the check passed. `textOf`
// gives field i's text in the dialog's texts.
template <typename Entry, typename Field, typename Texts, typename TextOf, typename Check>
Checked<Entry, Field> checkTyped(UnitSystem units, std::span<const TypedField> fields,
                                 const Texts& typed, TextOf textOf, Check check) {
  if (units == UnitSystem::Imperial) return check(typed);
  Texts typedTexts = typed;
  Texts stored = typed;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    textOf(stored, i) = storedText(*fields[i].spec, textOf(typedTexts, i), units);
  }
  Checked<Entry, Field> checked = check(static_cast<const Texts&>(stored));
  if (!checked.ok()) {
    CheckFailure<Field> failure = checked.failure();
    if (failure.focus) {
      const TypedField& field = fields[static_cast<std::size_t>(*failure.focus)];
      failure.text = shownRefusal(*field.spec, field.range, failure.text, units);
    }
    return failure;
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i].range) continue;
    if (std::optional<std::string> refused =
            shownRangeRefusal(*fields[i].spec, *fields[i].range, textOf(typedTexts, i), units)) {
      return CheckFailure<Field>{*refused, MessageIcon::Exclamation, static_cast<Field>(i), {}};
    }
  }
  return checked;
}

// The same over a dialog's field table.
template <typename Entry, typename Field, typename Texts, std::size_t N, typename Check>
Checked<Entry, Field> checkTyped(UnitSystem units, const FieldTable<Texts, Field, N>& table,
                                 const Texts& typed, Check check,
                                 std::vector<TypedField> fields = {}) {
  if (fields.empty()) fields = typedFields(table);
  auto textOf = [&table](Texts& texts, std::size_t i) -> std::string& {
    return texts.*table[i].text;
  };
  return checkTyped<Entry, Field>(units, std::span<const TypedField>(fields), typed, textOf, check);
}

// The Financial Values typed in the unit system, checked as the Financial Values dialog checks
// them: the Sensitivity window's fields take the same values the same way.
Checked<FinanceEntry, FinanceField> checkFinanceTyped(UnitSystem units, const FinanceTexts& typed);

}  // namespace keldovar
