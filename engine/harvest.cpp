// The harvest, the stand history table and the financial analysis of the rotation.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

// Present value of an amount received at the end of the year; single precision throughout,
// the power taken in double.
float PNV(int year, float amount, float rate) {
  if (year <= 0) return -999.99f;
  float base = 1 + rate;
  return static_cast<float>(static_cast<double>(amount) /
                            std::pow(static_cast<double>(base), year));
}

// A history label as text, whatever the 24 bytes hold.
std::string labelText(const HistoryRecord& record) {
  return std::string(record.label, strnlen(record.label, kLabelLength));
}

// The financial lines: four heading lines, one per valued record, then a blank line and the
// two net present values.
constexpr int kFinancialHeadingLast = 3;
constexpr int kFinancialClosingLines = 3;
constexpr int kLastFinancialRowLine = kFinancialLineCapacity - 1 - kFinancialClosingLines;
// At most 29 valued records and the closing lines fit in the buffer whatever the history.
static_assert(kFinancialHeadingLast + 1 + (kHistoryCapacity - 1) + kFinancialClosingLines <=
              kFinancialLineCapacity);

// The product values that apply to one removal.
struct ProductValues {
  float pulp;
  float saw;
};

}  // namespace

void Engine::harvestStand() {
  if (s_.historyCount < 0 || s_.historyCount >= kHistoryCapacity) {
    refuseHistoryFull();
    s_.status = -1;
    return;
  }
  recordHarvest();
  writeHistoryText();
  writeFinancial();
  closeStand();
}

// The harvest record: everything standing, as a removal.
void Engine::recordHarvest() {
  double pulp = 0, saw = 0, volume = 0, iu = 0;
  for (int i = 0; i < kClassCount; ++i) {
    auto k = static_cast<std::size_t>(i);
    pulp += s_.classPulpTons[k];
    saw += s_.classSawTons[k];
    volume += s_.classVolume[k];
    iu += s_.classIUPulpTons[k];
  }
  HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(s_.historyCount)];
  copyLabel(record.label, "Harvest");
  record.age = s_.AG;
  record.trees = -s_.TPA;
  record.basal_area = -s_.BA;
  record.volume = -volume;
  record.cords = -pulp;
  record.topcords = -iu;
  record.bdft = -saw;
}

void Engine::writeHistoryText() {
  TimeStamp stamp = timeStamp();
  auto& text = out_.historyText;
  formatLine(text[0], "         STAND HISTORY(Acre)  %.19s %s", stamp.text.data(), stamp.suffix);
  formatLine(text[1], "%s",
             "                                                                Integrated - "
             "Utilization");
  formatLine(text[2], "%s",
             " Age                Action    Trees  Basal Total OB  Total Pulp   Pulp  SawTimber");
  formatLine(text[3], "%s",
             "                                      Area   Volume     Tons      Tons     Tons");
  formatLine(text[4], "%s", " ");

  // Removals count from the first record of the stand's own history.
  double sumBA = 0, sumVolume = 0, sumCords = 0, sumTopcords = 0, sumBdft = 0;
  for (int i = std::max(s_.existingStand, 0); i <= s_.historyCount && i < kHistoryCapacity; ++i) {
    const HistoryRecord& r = s_.final_harvest[static_cast<std::size_t>(i)];
    if (r.basal_area < 0) {
      sumBA += r.basal_area;
      sumVolume += r.volume;
      sumCords += r.cords;
      sumTopcords += r.topcords;
      sumBdft += r.bdft;
    }
  }
  formatLine(text[5], "%s", " ");
  formatLine(text[6], "  Removed                           % 6.1f %8.1f %8.1f  %8.1f %8.1f", -sumBA,
             -sumVolume, -sumCords, -sumTopcords, -sumBdft);
  formatLine(text[7], "%s", " ");
  formatLine(text[8], "    Stand had a Site Index of %2.0f", s_.SI);
  out_.historyLast = s_.historyCount;
}

// A harvested stand is gone: nothing may be thinned or grown until a new one is initialized.
void Engine::closeStand() {
  s_.truncationDBH = 0;
  s_.status = 1;
  s_.BA = 0;
  s_.unthinned = 1;
  s_.AG = 0;
  s_.initialized = 0;
  s_.TPA = 0;
  s_.firstClass = 0;
}

void Engine::writeFinancial() {
  auto& lines = out_.financial;
  TimeStamp stamp = timeStamp();
  formatLine(lines[0], "         FINANCIAL ANALYSIS(Acre)  %.19s %s", stamp.text.data(),
             stamp.suffix);
  formatLine(lines[1], "%s",
             "  Age   Action                       Return     Return        PV        PV  ");
  formatLine(lines[2], "%s",
             "                                     Pulp       Integrated    Pulp      Integrated");
  formatLine(lines[3], "%s",
             "                                                Utilization             Utilization");
  float sumPulp = 0;
  float sumSaw = 0;
  int line = writeFinancialRows(sumPulp, sumSaw);
  writeNetPresentValues(line, sumPulp, sumSaw);
}

// One line per removal and fertilization after the first record; returns the last line used.
int Engine::writeFinancialRows(float& sumPulp, float& sumSaw) {
  const FinancialValues& values = s_.financial;
  float interestVal = values.interestRate / 100;
  bool firstThinOpen = true;
  int line = kFinancialHeadingLast;
  for (int count = 1; count <= s_.historyCount && count < kHistoryCapacity; ++count) {
    const HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(count)];
    if (record.basal_area > 0) continue;
    ProductValues price{values.nextThinPulp, values.nextThinSaw};
    if (count == s_.historyCount) {
      price = {values.harvestPulp, values.harvestSaw};
    } else if (firstThinOpen) {
      price = {values.oneThinPulp, values.oneThinSaw};
      firstThinOpen = false;
    }
    std::string label = labelText(record);
    if (record.basal_area == 0 && label != "Fertilization") continue;

    int year = static_cast<int>(record.age);
    // A return this record does not earn shows as 0.00, not as the row before's.
    float returnCords = 0;
    float returnBdftCords = 0;
    float pvCords = 0;
    float pvBdftCords = 0;
    if (record.basal_area < 0) {
      if (record.cords * (-1) > 0) {
        returnCords = static_cast<float>(static_cast<double>(price.pulp) * record.cords * (-1));
        pvCords = PNV(year, returnCords, interestVal);
      }
      returnBdftCords =
          static_cast<float>(static_cast<double>(price.saw) * record.bdft * (-1) +
                             static_cast<double>(price.pulp) * record.topcords * (-1));
      pvBdftCords = PNV(year, returnBdftCords, interestVal);
      if (pvCords == 0 && pvBdftCords == 0) {
        std::string text =
            formatText("Commercial thin is not achieved at the age of %0.0f years", record.age);
        message("Financial Information", text.c_str(), "");
      }
    } else {
      pvCords = pvBdftCords = -PNV(year, values.midrotationFertCost, interestVal);
    }
    sumPulp += pvCords;
    sumSaw += pvBdftCords;
    if (line < kLastFinancialRowLine) {
      ++line;
      formatLine(out_.financial[static_cast<std::size_t>(line)],
                 "   %2.0f   %-24s   % 8.2f     % 9.2f % 8.2f   % 9.2f", record.age, label.c_str(),
                 static_cast<double>(returnCords), static_cast<double>(returnBdftCords),
                 static_cast<double>(pvCords), static_cast<double>(pvBdftCords));
    }
  }
  return line;
}

void Engine::writeNetPresentValues(int line, float sumPulp, float sumSaw) {
  auto& lines = out_.financial;
  auto next = [&]() -> ReportLine& { return lines[static_cast<std::size_t>(++line)]; };
  formatLine(next(), "%s", " ");
  if (s_.existingStand == 1) {
    formatLine(next(), "     Net Present Value (Pulpwood Management):            $%8.2f",
               static_cast<double>(sumPulp));
    formatLine(next(), "     Net Present Value (Sawtimber+Pulpwood Management):             $%9.2f",
               static_cast<double>(sumSaw));
  } else {
    float establishment = s_.financial.establishmentCost;
    formatLine(next(), " Net Present Value (Pulpwood Management) minus Establishment Cost: $%0.2f",
               static_cast<double>(sumPulp - establishment));
    formatLine(next(),
               " Net Present Value (Sawtimber+Pulpwood Management) minus Establishment Cost: "
               "$%0.2f",
               static_cast<double>(sumSaw - establishment));
  }
  out_.financialLast = line;
}

}  // namespace keldovar
