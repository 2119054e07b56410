// The engine's one stand: every field the models read and write, the stand history
// records and the report buffers that each step fills for the view.
#pragma once

#include <array>
#include <cstddef>

#include "engine/financial_values.h"
#include "engine/step_entries.h"

namespace keldovar {

// Fixed capacities of the engine's arrays.
inline constexpr int kClassCount = 25;         // one-inch DBH classes
inline constexpr int kHistoryCapacity = 30;    // final_harvest records
inline constexpr int kFertAgesCapacity = 101;  // fertilization ages
inline constexpr int kLineLength = 300;        // characters of a report line
inline constexpr int kSummaryLineCount = 8;
inline constexpr int kThinLineCount = 6;
inline constexpr int kStockRowCapacity = 101;  // 100 data rows and the totals row
inline constexpr int kStockColumns = 9;        // 8 used, one spare
inline constexpr int kHistoryTextLineCount = 9;
inline constexpr int kFinancialLineCapacity = 101;
inline constexpr int kLabelLength = 24;  // history label bytes, terminator included
inline constexpr int kLogRuleNameCapacity = 24;
inline constexpr int kBarkBasisCapacity = 8;

// Square feet of basal area per square inch of diameter.
inline constexpr double kBasalAreaFactor = 0.00545415391248;
// The diameter prompt's Cancel answer.
inline constexpr double kCancelledDiameter = 1.7e307;

// One fixed report line: up to 300 characters and the terminating NUL.
using ReportLine = std::array<char, kLineLength + 1>;

// One stand history event, 80 bytes, stored byte for byte in the tables and the stand file.
struct HistoryRecord {
  double age;
  char label[kLabelLength];
  double trees;
  double basal_area;
  double volume;
  double cords;     // pulp tons
  double topcords;  // integrated-utilization pulp tons
  double bdft;      // sawtimber tons
};
static_assert(sizeof(HistoryRecord) == 80, "history records are 80 bytes");

// Log-rule conversion: x times the factor of DBH class d.
using LogRuleFactor = double (*)(double x, int dbhClass);

// The figures of the last thinning report.
struct ThinResult {
  double residualBA;
  double treesCut;
  double baRemoved;
  double volumeRemoved;
  double tonsRemoved;      // pulp tons
  double sawTonsRemoved;   // "board tons"
  double pulpTonsRemoved;  // integrated-utilization pulp tons
};

using ClassArray = std::array<double, kClassCount>;

// The carried state: every stand value a later step reads that is not in the newest stored
// table. A document's snapshot holds one and copies it whole, each way.
struct CarriedState {
  double AG = 0;     // stand age, years
  double SI = 0;     // site index, feet at base age 25 (exhibited after fertilized growth)
  double HD = 0;     // dominant/codominant height, feet
  double BA = 0;     // basal area, sq ft per acre
  double TPA = 0;    // trees per acre
  double PLNTR = 0;  // trees planted per acre (new plantations)
  double targetAge = 0;
  double thinAge = 0;
  double baRatio = 1;
  double treesRatio = 1;
  double pctBARemoved = 0;
  double pctTreesRemoved = 0;
  int unthinned = 1;
  int initialized = 0;
  int thinLock = 0;  // 0 any thinning; -1 thinned this age; -2 row-thinned this age
  int truncatedDistribution = 0;
  int existingStand = 0;
  int volumeMode = 0;  // 0 models; 1 inside a thinning; 2 just row-thinned
  float fFert_Nitrogen = -1;
  int bFert_Phosphorus = 1;
  int iFertAge = -1;
  std::array<int, kFertAgesCapacity> fertAges{};
  int fertAgesLast = -1;
  int fertRecordPending = 0;
  double totalVolume = 0;
  int historyCount = 0;
  double firstClass = 0;
  double truncationDBH = 0;
  double minClass = 0;
  double maxClass = 0;
  double distCap = 1000;
  double distScale = 1;
  double distBA = 0;
  ClassArray classTrees{};
  ClassArray classHeight{};
  ClassArray classBA{};
  ClassArray classVolume{};
  ClassArray classTopVolume{};
  ClassArray classPulpTons{};
  ClassArray classIUPulpTons{};
  ClassArray classSawTons{};
  ThinResult thinResult{};

  // Records a fertilization at the stand's whole age for the next projection to apply. The
  // age is listed once however often it is fertilized; a full list takes no more ages.
  void requestFertilization(const FertilizeEntry& entry);
};

// The merchandising inputs of the document's settings, handed over before each step.
struct MerchInputs {
  const char* logRuleName = "";
  LogRuleFactor logRuleFactor = nullptr;
  const char* barkBasis = "OB";
  double pulpTopDiameter = 6.0;
  int sawThresholdDBH = 0;
  double pulpThresholdDBH = 4.0;
};

struct StandState : CarriedState {
  float survivalPct = 0;
  int noControl = -1;
  int woodyControl = -1;
  int herbWoodyControl = -1;
  int heightEntered = 0;
  std::array<HistoryRecord, kHistoryCapacity> final_harvest{};
  std::array<char, kBarkBasisCapacity> barkBasis{'O', 'B'};
  double pulpTopDiameter = 6.0;
  double pulpThresholdDBH = 4.0;
  int sawThresholdDBH = 0;
  std::array<char, kLogRuleNameCapacity> logRuleName{};
  LogRuleFactor logRuleFactor = nullptr;
  FinancialValues financial;
  int status = 1;       // 1 running or succeeded, -1 failed or cancelled
  int outputReady = 0;  // the step wrote its stand summary

  void setMerchInputs(const MerchInputs& merch);
  CarriedState& carried() { return *this; }
  const CarriedState& carried() const { return *this; }
};

// The engine side of a stored report table.
struct EngineOutput {
  std::array<ReportLine, kSummaryLineCount> summary{};
  std::array<ReportLine, kThinLineCount> thinning{};
  int thinReportReady = 0;
  std::array<std::array<float, kStockColumns>, kStockRowCapacity> stock{};
  int stockLast = -1;
  std::array<ReportLine, 2> beforeStock{};  // the stock table title
  std::array<ReportLine, 2> afterStock{};   // the volume conversions line
  std::array<ReportLine, kHistoryTextLineCount> historyText{};
  int historyLast = -1;
  // Written by a harvest before anything reads them (0..financialLast, reset before each step),
  // so never zeroed: a run without a harvest leaves their 30 KB untouched.
  std::array<ReportLine, kFinancialLineCapacity> financial;
  int financialLast = -1;
};

}  // namespace keldovar
