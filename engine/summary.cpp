// The eight stand summary lines that head every step's table.
#include "engine/engine.h"
#include "engine/models.h"
#include "engine/number_text.h"

namespace keldovar {

void Engine::writeSummary() {
  if (s_.volumeMode == 0) {
    s_.totalVolume =
        totalOutsideBarkVolume(s_.AG, s_.TPA, s_.BA, s_.thinAge, s_.pctBARemoved, s_.SI, s_.HD);
  }
  s_.outputReady = 1;
  if (!reportText_) return;
  auto& lines = out_.summary;
  TextOut(lines[0]).text(s_.unthinned == 1 ? "         STAND SUMMARY "
                                           : "         STAND SUMMARY THINNED ");
  TextOut age(lines[1]);
  age.text(" Age                            ").fixed(s_.AG, 0, 0).text(" years");
  if (s_.unthinned == 0) age.text("(THINNED AT AGE ").fixed(s_.thinAge, 2, 0).text(") ");
  if (s_.fFert_Nitrogen != -1.0f) {
    age.text("(FERTILIZED AT AGE ");
    int last = s_.fertAgesLast < kFertAgesCapacity ? s_.fertAgesLast : kFertAgesCapacity - 1;
    for (int i = 0; i <= last; ++i) {
      if (i > 0) age.text(",");
      age.whole(s_.fertAges[static_cast<std::size_t>(i)]);
    }
    age.text(") ");
  }
  TextOut(lines[2]).text(" Site Index(Base Age 25 years)  ").fixed(s_.SI, 0, 0).text(" feet");
  TextOut(lines[3]).text(" Basal Area                     ").fixed(s_.BA, 0, 0).text(" sq.ft");
  TextOut trees(lines[4]);
  trees.text(" Trees Per Acre                 ").fixed(s_.TPA, 0, 0).text(" ");
  if (s_.existingStand == 0) trees.text(" ( ").fixed(s_.PLNTR, 0, 0).text(" Trees Planted)");
  TextOut(lines[5]).text(" Dom./Codom. Height             ").fixed(s_.HD, 0, 0).text(" feet");
  TextOut(lines[6])
      .text(" Quadratic Mean D.B.H.          ")
      .fixed(quadraticMeanDBH(s_.BA, s_.TPA), 0, 1)
      .text(" inches");
  TextOut(lines[7])
      .text(" TOTAL OB YIELD                 ")
      .fixed(s_.totalVolume, 0, 1)
      .text(" cubic feet");
}

}  // namespace keldovar
