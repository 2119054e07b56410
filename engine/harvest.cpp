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
float PNV(int, int year, int, int, float amount, float rate) {
  if (year <= 0) return -999.99f;
  float base = 1 + rate;
  return static_cast<float>(amount / std::pow(static_cast<double>(base), year));
}

// A history label as text, whatever the 24 bytes hold.
std::string labelText(const HistoryRecord& record) {
  return std::string(record.label, strnlen(record.label, kLabelLength));
}

}  // namespace

void Engine::harvestStand() {
  if (s_.historyCount < 0 || s_.historyCount >= kHistoryCapacity) {
    refuseHistoryFull();
    s_.status = -1;
    return;
  }
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

  writeFinancial();

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
  const FinancialValues& values = s_.financial;
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

  // At most 29 valued records and four closing lines fit in the buffer whatever the history.
  static_assert(4 + (kHistoryCapacity - 1) + 3 <= kFinancialLineCapacity);
  float interestVal = values.interestRate / 100;
  float sumPulp = 0;
  float sumSaw = 0;
  bool firstThinOpen = true;
  int line = 3;
  for (int count = 0; count <= s_.historyCount; ++count) {
    if (count == 0) continue;
    if (count >= kHistoryCapacity) break;
    const HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(count)];
    if (record.basal_area > 0) continue;
    float pulpValue, sawValue;
    if (count == s_.historyCount) {
      pulpValue = values.harvestPulp;
      sawValue = values.harvestSaw;
    } else if (firstThinOpen) {
      pulpValue = values.oneThinPulp;
      sawValue = values.oneThinSaw;
      firstThinOpen = false;
    } else {
      pulpValue = values.nextThinPulp;
      sawValue = values.nextThinSaw;
    }
    float midFertCost = values.midrotationFertCost;
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
        returnCords = static_cast<float>(pulpValue * record.cords * (-1));
        pvCords = PNV(1, year, 0, 0, returnCords, interestVal);
      }
      returnBdftCords =
          static_cast<float>(sawValue * record.bdft * (-1) + pulpValue * record.topcords * (-1));
      pvBdftCords = PNV(1, year, 0, 0, returnBdftCords, interestVal);
      if (pvCords == 0 && pvBdftCords == 0) {
        std::string text =
            formatText("Commercial thin is not achieved at the age of %0.0f years", record.age);
        message("Financial Information", text.c_str(), "");
      }
    } else {
      float pvMidFertCost = PNV(1, year, 0, 0, midFertCost, interestVal);
      pvCords = pvBdftCords = -pvMidFertCost;
    }
    sumPulp += pvCords;
    sumSaw += pvBdftCords;
    if (line <= 97) {
      ++line;
      formatLine(lines[static_cast<std::size_t>(line)],
                 "   %2.0f   %-24s   % 8.2f     % 9.2f % 8.2f   % 9.2f", record.age, label.c_str(),
                 static_cast<double>(returnCords), static_cast<double>(returnBdftCords),
                 static_cast<double>(pvCords), static_cast<double>(pvBdftCords));
    }
  }
  formatLine(lines[static_cast<std::size_t>(++line)], "%s", " ");
  if (s_.existingStand == 1) {
    formatLine(lines[static_cast<std::size_t>(++line)],
               "     Net Present Value (Pulpwood Management):            $%8.2f",
               static_cast<double>(sumPulp));
    formatLine(lines[static_cast<std::size_t>(++line)],
               "     Net Present Value (Sawtimber+Pulpwood Management):             $%9.2f",
               static_cast<double>(sumSaw));
  } else {
    float pulpNet = sumPulp - values.establishmentCost;
    float sawNet = sumSaw - values.establishmentCost;
    formatLine(lines[static_cast<std::size_t>(++line)],
               " Net Present Value (Pulpwood Management) minus Establishment Cost: $%0.2f",
               static_cast<double>(pulpNet));
    formatLine(lines[static_cast<std::size_t>(++line)],
               " Net Present Value (Sawtimber+Pulpwood Management) minus Establishment Cost: "
               "$%0.2f",
               static_cast<double>(sawNet));
  }
  out_.financialLast = line;
}

}  // namespace keldovar
