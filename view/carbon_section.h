// The report's Carbon section of a table: its stand's biomass, carbon and CO2e by pool, what a
// thinning or the harvest took into products and kept for 100 years, and on a harvest table the
// rotation's carbon on the stump with its average and, at a price, the carbon payments' value.
#pragma once

#include <string>
#include <vector>

#include "carbon/crediting.h"
#include "document/document_content.h"
#include "document/table_store.h"

namespace keldovar {

// Whether the report shows the section (a view option, off unless chosen) and the carbon price
// and baseline it values the payments at.
// The payments are discounted at the document's interest rate, as its financial analysis is.
struct CarbonOptions {
  bool show = false;
  carbon::CarbonValues values{};
  float interestRate = FinancialValues{}.interestRate;  // percent
};

// The section as a document shows it: its option, its carbon values and its interest rate.
CarbonOptions carbonOptionsOf(const DocumentContent& content);

// The section's lines for table `index` of the store; none for a table without stock rows.
std::vector<std::string> carbonSectionLines(const TableStore& store, int index,
                                            const CarbonOptions& options);

}  // namespace keldovar
