// The stored defaults of a new document.
#include <gtest/gtest.h>

#include <cstring>

#include "document/settings.h"
#include "script/dialog_checks.h"

namespace keldovar {
namespace {

TEST(Settings, BuiltInDefaultsOfANewDocument) {
  DocumentDefaults d = builtInDefaults();
  const FinancialValues& f = d.settings.financial;
  EXPECT_EQ(f.interestRate, 5.0f);
  EXPECT_EQ(f.oneThinPulp, 10.0f);
  EXPECT_EQ(f.nextThinPulp, 10.0f);
  EXPECT_EQ(f.harvestPulp, 10.0f);
  EXPECT_EQ(f.oneThinSaw, 15.0f);
  EXPECT_EQ(f.nextThinSaw, 20.0f);
  EXPECT_EQ(f.harvestSaw, 25.0f);
  EXPECT_EQ(f.establishmentCost, 250.0f);
  EXPECT_EQ(f.midrotationFertCost, 120.0f);
  EXPECT_EQ(d.settings.merchLimit, 3);
  EXPECT_EQ(d.settings.merchLimitShown, 3.0f);
  EXPECT_EQ(d.settings.sawThreshold, 8);
  EXPECT_EQ(d.settings.pulpThreshold, 5);
  EXPECT_EQ(d.settings.barkBasis, "OB");
  EXPECT_EQ(d.settings.logRuleName, "INT 1/4");
  EXPECT_TRUE(d.options.showFinancial);
  EXPECT_FALSE(d.options.showBargraph);
  EXPECT_TRUE(d.options.showAllTables);
}

TEST(Settings, StoredValuesReadAsTheirLeadingNumber) {
  MemorySettingsStore store;
  store.writeString("Options", "interest_rate", "7.25");
  store.writeString("Options", "harvest_saw", "31.5 dollars");
  store.writeString("Options", "establishment_cost", "none");
  store.writeString("Options", "Merch_limit", "4.00");
  store.writeInt("Options", "threshold_saw", 10);
  store.writeInt("Options", "Bargraph", 1);
  store.writeInt("Options", "AllTables", 0);
  DocumentDefaults d = readDocumentDefaults(store);
  EXPECT_EQ(d.settings.financial.interestRate, 7.25f);
  EXPECT_EQ(d.settings.financial.harvestSaw, 31.5f);
  EXPECT_EQ(d.settings.financial.establishmentCost, 0.0f);  // no number: 0
  EXPECT_EQ(d.settings.financial.oneThinPulp, 10.0f);       // missing: the default
  EXPECT_EQ(d.settings.merchLimit, 4);
  EXPECT_EQ(d.settings.sawThreshold, 10);
  EXPECT_TRUE(d.options.showBargraph);
  EXPECT_FALSE(d.options.showAllTables);
  EXPECT_EQ(readStoredNumber(store, "Options", "missing", "2.5"), 2.5);
}

}  // namespace
}  // namespace keldovar

namespace keldovar {
namespace {

// Each row of the financial table reaches the same value through the stored settings, the
// dialog's texts and its range check, so a row naming the wrong member shows here.
TEST(Settings, EveryFinancialValueTravelsByItsOwnRow) {
  for (std::size_t i = 0; i < kFinancialFields.size(); ++i) {
    const FinancialField& field = kFinancialFields[i];
    MemorySettingsStore store;
    store.writeString("Options", field.settingsKey, "7.25");
    FinancialValues read = readDocumentDefaults(store).settings.financial;
    FinancialValues expected;
    expected.*field.value = 7.25f;
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << field.settingsKey;

    FinanceTexts texts = openFinance(read);
    EXPECT_EQ(texts.fields[i], "7.25") << field.settingsKey;
    texts.fields[i] = formatReal(field.max + 1);
    Checked<FinanceEntry, FinanceField> checked = checkFinance(texts);
    ASSERT_FALSE(checked.ok()) << field.settingsKey;
    EXPECT_EQ(checked.failure().focus, static_cast<FinanceField>(i));
    texts.fields[i] = formatReal(field.max);
    ASSERT_TRUE(checkFinance(texts).ok()) << field.settingsKey;
    EXPECT_EQ(checkFinance(texts).accepted().values.*field.value, field.max);
  }
}

}  // namespace
}  // namespace keldovar
