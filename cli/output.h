// The batch runner's three output formats of a document: report text, JSON and CSV.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "document/table_store.h"
#include "script/runner.h"
#include "view/carbon_section.h"

namespace keldovar::cli {

enum class OutputFormat { Text, Json, Csv };

// The report as Select All and Copy put it on the clipboard, with "\n" line ends; tables from
// the newest step only when `currentStep`; the Carbon sections when `carbon.show`.
std::string textOutput(const TableStore& store, bool showFinancial, bool currentStep,
                       const CarbonOptions& carbon = {}, UnitSystem units = UnitSystem::Imperial);

// Every stored table, the messages and the stand after the run. Numbers are written in their
// shortest form that reads back exactly: doubles as doubles, single-precision values (the stock
// rows, the bar graph's peak) as floats. A harvest table also gives the regime's LEV and IRR
// (percent) at the document's financial values, or null where those are not the values the
// harvest used. Every table has its "carbon" (cli/carbon_output.h), valued at `carbonValues`.
// In metric a top-level "units": "metric" says so; every key keeps its place and meaning with
// its number converted (per hectare, metres, tonnes, money per hectare), the line arrays are
// the metric lines, and a stock table adds "class_cm": each row's class by its bounds in cm
// (its rows keep the inch class first).
std::string jsonOutput(const TableStore& store, const std::vector<RecordedMessage>& messages,
                       const FinancialValues& values, const carbon::CarbonValues& carbonValues = {},
                       UnitSystem units = UnitSystem::Imperial);
// The same on one line, the script's name first: one line of JSON Lines.
std::string jsonLineOutput(const std::string& script, const TableStore& store,
                           const std::vector<RecordedMessage>& messages,
                           const FinancialValues& values,
                           const carbon::CarbonValues& carbonValues = {},
                           UnitSystem units = UnitSystem::Imperial);

// One line per stock row of every table with stock rows, and one "Harvest" line with the LEV
// and IRR of every harvest table, under a header line; the carbon columns come last.
std::string csvOutput(const TableStore& store, const FinancialValues& values,
                      UnitSystem units = UnitSystem::Imperial);

// A JSON string of the text, bytes above ASCII read as Latin-1.
std::string jsonString(const std::string& text);
// A number as the JSON gives it: single precision with 9 significant digits, double precision
// with 17, so that it reads back exactly; null when it is not finite.
std::string jsonNumber(float value);
std::string jsonNumber(double value);

// The document's report in the chosen format; the view options apply to the text only, the
// carbon values to the JSON as well.
std::string renderReport(OutputFormat format, const DocumentContent& content,
                         const std::vector<RecordedMessage>& messages, bool showFinancial,
                         bool currentStep, const CarbonOptions& carbon = {},
                         UnitSystem units = UnitSystem::Imperial);

// Writes and flushes the text, after `lead` when one is given; 0, or 1 after saying on `err` why
// the output refused it.
int writeReport(std::ostream& out, std::ostream& err, std::string_view text,
                std::string_view lead = {});

}  // namespace keldovar::cli
