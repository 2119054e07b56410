// Where a document remembers what its step dialogs last accepted: for each remembered field, in
// the order of the dialog's fields, the entry's value and its slot in RememberedValues. The
// document stores accepted entries through these tables; the dialogs open from the same slots.
#pragma once

#include <tuple>
#include <type_traits>

#include "document/dialog_values.h"
#include "document/document_settings.h"

namespace keldovar {

template <typename Entry, typename Value, typename Slot>
struct MemorySlot {
  Value Entry::*value;
  Slot RememberedValues::*slot;
};

// Older compilers deduce an aggregate's template arguments only from a guide.
template <typename Entry, typename Value, typename Slot>
MemorySlot(Value Entry::*, Slot RememberedValues::*) -> MemorySlot<Entry, Value, Slot>;

inline constexpr std::tuple kUnthinnedMemory{
    MemorySlot{&UnthinnedEntry::trees, &RememberedValues::unthinnedTrees},
    MemorySlot{&UnthinnedEntry::age, &RememberedValues::unthinnedAge},
    MemorySlot{&UnthinnedEntry::basalArea, &RememberedValues::unthinnedBasalArea},
    MemorySlot{&UnthinnedEntry::height, &RememberedValues::unthinnedHeight},
    MemorySlot{&UnthinnedEntry::siteIndex, &RememberedValues::unthinnedSiteIndex},
};

inline constexpr std::tuple kThinnedMemory{
    MemorySlot{&ThinnedEntry::age, &RememberedValues::thinnedAge},
    MemorySlot{&ThinnedEntry::basalArea, &RememberedValues::thinnedBasalArea},
    MemorySlot{&ThinnedEntry::trees, &RememberedValues::thinnedTrees},
    MemorySlot{&ThinnedEntry::thinAge, &RememberedValues::thinnedThinAge},
    MemorySlot{&ThinnedEntry::height, &RememberedValues::thinnedHeight},
    MemorySlot{&ThinnedEntry::siteIndex, &RememberedValues::thinnedSiteIndex},
};

inline constexpr std::tuple kPercentRemovedMemory{
    MemorySlot{&PercentRemovedEntry::trees, &RememberedValues::pctTrees},
    MemorySlot{&PercentRemovedEntry::basalArea, &RememberedValues::pctBasalArea},
};

// The vegetation control is not remembered.
inline constexpr std::tuple kPlantationMemory{
    MemorySlot{&PlantationEntry::siteIndex, &RememberedValues::plantSiteIndex},
    MemorySlot{&PlantationEntry::trees, &RememberedValues::plantTrees},
    MemorySlot{&PlantationEntry::survival, &RememberedValues::plantSurvival},
};

// The engine's doubles hold the dialog's single-precision values exactly.
inline constexpr std::tuple kRowLowMemory{
    MemorySlot{&RowLowEntry::residual, &RememberedValues::rowLowResidual},
    MemorySlot{&RowLowEntry::rowPercent, &RememberedValues::rowLowPercent},
};

// The dialogs of one value remember it whole.
inline constexpr int RememberedValues::*kGrowMemory = &RememberedValues::growAge;
inline constexpr float RememberedValues::*kResidualBAMemory = &RememberedValues::residualBA;
inline constexpr float RememberedValues::*kThinToDBHMemory = &RememberedValues::thinToDBH;

template <typename Entry, typename... Slots>
void remember(RememberedValues& memory, const Entry& entry, const std::tuple<Slots...>& table) {
  std::apply(
      [&](const auto&... s) {
        ((memory.*s.slot =
              static_cast<std::remove_reference_t<decltype(memory.*s.slot)>>(entry.*s.value)),
         ...);
      },
      table);
}

}  // namespace keldovar
