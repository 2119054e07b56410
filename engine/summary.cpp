// The eight stand summary lines that head every step's table.
#include "engine/engine.h"
#include "engine/models.h"
#include "engine/report_text.h"

namespace keldovar {

void Engine::writeSummary() {
  auto& lines = out_.summary;
  formatLine(lines[0], "%s",
             s_.unthinned == 1 ? "         STAND SUMMARY " : "         STAND SUMMARY THINNED ");
  formatLine(lines[1], " Age                            %.0f years", s_.AG);
  if (s_.unthinned == 0) appendLine(lines[1], "(THINNED AT AGE %2.0f) ", s_.thinAge);
  if (s_.fFert_Nitrogen != -1.0f) {
    appendLine(lines[1], "(FERTILIZED AT AGE ");
    int last = s_.fertAgesLast < kFertAgesCapacity ? s_.fertAgesLast : kFertAgesCapacity - 1;
    for (int i = 0; i <= last; ++i) {
      appendLine(lines[1], i == 0 ? "%d" : ",%d", s_.fertAges[static_cast<std::size_t>(i)]);
    }
    appendLine(lines[1], ") ");
  }
  formatLine(lines[2], " Site Index(Base Age 25 years)  %.0f feet", s_.SI);
  formatLine(lines[3], " Basal Area                     %.0f sq.ft", s_.BA);
  formatLine(lines[4], " Trees Per Acre                 %.0f ", s_.TPA);
  if (s_.existingStand == 0) appendLine(lines[4], " ( %.0f Trees Planted)", s_.PLNTR);
  formatLine(lines[5], " Dom./Codom. Height             %.0f feet", s_.HD);
  formatLine(lines[6], " Quadratic Mean D.B.H.          %.1f inches",
             quadraticMeanDBH(s_.BA, s_.TPA));
  if (s_.volumeMode == 0) {
    s_.totalVolume =
        totalOutsideBarkVolume(s_.AG, s_.TPA, s_.BA, s_.thinAge, s_.pctBARemoved, s_.SI, s_.HD);
  }
  formatLine(lines[7], " TOTAL OB YIELD                 %.1f cubic feet", s_.totalVolume);
  s_.outputReady = 1;
}

}  // namespace keldovar
