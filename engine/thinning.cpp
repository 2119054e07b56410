// The four thinning methods: row, Thinomatic, low (to a basal area or to a DBH), row and low.
#include <cmath>

#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/numeric.h"
#include "engine/report_text.h"

namespace keldovar {
namespace {

double sumOf(const ClassArray& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return sum;
}

}  // namespace

void Engine::startThinning(const char* tag) {
  s_.thinResult = ThinResult{};
  thinTag_ = tag;
  emptied_ = 0;
}

void Engine::cutShare(int i, double q, bool scaleTopVolume) {
  auto k = static_cast<std::size_t>(i);
  ThinResult& r = s_.thinResult;
  r.tonsRemoved += q * s_.classPulpTons[k];
  r.volumeRemoved += q * s_.classVolume[k];
  r.sawTonsRemoved += q * s_.classSawTons[k];
  r.pulpTonsRemoved += q * s_.classIUPulpTons[k];
  r.baRemoved += q * s_.classBA[k];
  double keep = 1 - q;
  s_.classTrees[k] *= keep;
  s_.classBA[k] *= keep;
  s_.classVolume[k] *= keep;
  s_.classPulpTons[k] *= keep;
  s_.classSawTons[k] *= keep;
  s_.classIUPulpTons[k] *= keep;
  if (scaleTopVolume) s_.classTopVolume[k] *= keep;
}

void Engine::removeClass(int i) {
  auto k = static_cast<std::size_t>(i);
  ThinResult& r = s_.thinResult;
  r.tonsRemoved += s_.classPulpTons[k];
  r.volumeRemoved += s_.classVolume[k];
  r.sawTonsRemoved += s_.classSawTons[k];
  r.pulpTonsRemoved += s_.classIUPulpTons[k];
  r.baRemoved += s_.classBA[k];
  s_.classTrees[k] = 0;
  // An emptied class holds no wood any more; a harvest at the same age must not count it again.
  s_.classBA[k] = s_.classVolume[k] = s_.classTopVolume[k] = 0;
  s_.classPulpTons[k] = s_.classIUPulpTons[k] = s_.classSawTons[k] = 0;
  s_.firstClass += 1;
  emptied_ += 1;
}

bool Engine::refuseOversizedRemoval(double x) {
  // Emptying every class would leave basal area without trees.
  if (x < sumOf(s_.classBA)) return false;
  message(" BASAL AREA THINNING ERROR ",
          "The diameter classes hold too little basal area for this thinning.",
          "Choose a larger residual basal area.");
  s_.status = -1;
  return true;
}

void Engine::recordThinning(const char* label, double removedBA) {
  const ThinResult& r = s_.thinResult;
  if (s_.historyCount >= 0 && s_.historyCount < kHistoryCapacity) {
    HistoryRecord& record = s_.final_harvest[static_cast<std::size_t>(s_.historyCount)];
    record.age = s_.AG;
    copyLabel(record.label, label);
    record.trees = -r.treesCut;
    record.basal_area = -removedBA;
    record.volume = -r.volumeRemoved;
    record.cords = -r.tonsRemoved;
    record.topcords = -r.pulpTonsRemoved;
    record.bdft = -r.sawTonsRemoved;
    s_.historyCount += 1;
  }
  setLabel(s_.historyCount, "Residual after Thinning");
  writeThinReport();
}

void Engine::writeThinReport() {
  out_.thinReportReady = 1;
  if (!reportText_) return;
  const ThinResult& r = s_.thinResult;
  auto& lines = out_.thinning;
  TextOut(lines[0])
      .text("         ")
      .text(thinTag_)
      .text(" THINNING-LEAVING ")
      .whole(truncToInt(r.residualBA), 3)
      .text(" SQ. FT. BASAL AREA ");
  TextOut(lines[1]).text(" Removed ").fixed(r.baRemoved, 6, 1).text(" sq. ft. of Basal Area");
  TextOut(lines[2]).text(" Cut     ").fixed(r.treesCut, 6, 0).text(" trees per acre.");
  TextOut(lines[3])
      .text(" Removed ")
      .fixed(r.volumeRemoved, 6, 1)
      .text(" cuft. of volume during thinning");
  TextOut(lines[4])
      .text(" Removed ")
      .fixed(r.tonsRemoved, 6, 1)
      .text(" tons during thinning (")
      .fixed(s_.pulpTopDiameter, 0, 1)
      .text(" in. OB)");
  TextOut(lines[5])
      .text(" Removed ")
      .fixed(r.sawTonsRemoved, 6, 1)
      .text(" board tons and ")
      .fixed(r.pulpTonsRemoved, 4, 1)
      .text(" pulp tons ");
}

void Engine::closeThinning(bool rowThinned) {
  s_.totalVolume -= s_.thinResult.volumeRemoved;
  writeSummary();
  if (rowThinned) s_.volumeMode = 2;
  writeStockTable(emptied_);
  if (reportText_) hooks().buildBarGraph(emptied_);
  s_.volumeMode = 0;
}

// Shared tail of the methods that leave a residual basal area: new totals and the records.
void Engine::settleThinning(const char* label, double residual, double removal) {
  double oldTPA = s_.TPA;
  s_.TPA = sumOf(s_.classTrees);
  s_.thinResult.treesCut = oldTPA - s_.TPA;
  s_.thinResult.residualBA = residual;
  s_.thinResult.baRemoved = removal;
  s_.BA = residual;
  s_.volumeMode = 1;
  recordThinning(label, removal);
}

void Engine::rowThin() {
  s_.thinAge = s_.AG;
  startThinning("ROW");
  double residual = askResidualBAWrapped();
  if (s_.status == -1) return;
  double x = s_.BA - residual;
  double f = x / s_.BA;
  ThinResult& r = s_.thinResult;
  int i = 0;
  do {
    auto k = static_cast<std::size_t>(i);
    r.tonsRemoved += f * s_.classPulpTons[k];
    r.sawTonsRemoved += f * s_.classSawTons[k];
    r.pulpTonsRemoved += f * s_.classIUPulpTons[k];
    r.volumeRemoved += f * s_.classVolume[k];
    s_.classTrees[k] *= 1 - f;
    ++i;
  } while (i < kClassCount && s_.classTrees[static_cast<std::size_t>(i)] > 0.001);
  r.baRemoved = x;
  r.treesCut = f * s_.TPA;
  r.residualBA = residual;
  s_.TPA -= f * s_.TPA;
  s_.BA = residual;
  s_.volumeMode = 1;
  recordThinning("Row Thinning", x);
  closeThinning(true);
}

void Engine::thinomatic() {
  s_.thinAge = s_.AG;
  startThinning("THINOMATIC");
  double residual = askResidualBAWrapped();
  if (s_.status == -1) return;
  double x = s_.BA - residual;
  if (refuseOversizedRemoval(x)) return;
  s_.baRatio = residual / s_.BA;
  const double& removed = s_.thinResult.baRemoved;
  double dq2 = s_.BA / s_.TPA / kBasalAreaFactor;
  double dbh0 = std::trunc(s_.firstClass + 0.5);
  bool reached = false;
  // First walk: each class gives a share that falls with its diameter.
  for (int i = 0; i < kClassCount; ++i) {
    auto k = static_cast<std::size_t>(i);
    double dbh = dbh0 + i;
    double p = std::exp(-0.73148 * std::pow(dbh * dbh / dq2, 1.45759));
    if (x - removed <= p * s_.classBA[k]) {
      cutShare(i, (x - removed) / s_.classBA[k]);
      reached = true;
      break;
    }
    cutShare(i, p);
    if (!(i + 1 < kClassCount && s_.classTrees[k + 1] > 0.001 && removed < x)) break;
  }
  // Second walk: whole classes from below until one can supply the rest.
  for (int i = 0; !reached && i < kClassCount; ++i) {
    auto k = static_cast<std::size_t>(i);
    if (x - removed <= s_.classBA[k]) {
      if (s_.classBA[k] != 0) cutShare(i, (x - removed) / s_.classBA[k]);
      break;
    }
    removeClass(i);
    s_.truncationDBH = dbh0 + i + 1;
  }
  settleThinning("Thinomatic Thinning", residual, x);
  closeThinning(false);
}

void Engine::lowThinByBA() {
  s_.thinAge = s_.AG;
  startThinning("LOW");
  double residual = askResidualBAWrapped();
  if (s_.status == -1) return;
  double x = s_.BA - residual;
  if (refuseOversizedRemoval(x)) return;
  s_.baRatio = residual / s_.BA;
  const double& removed = s_.thinResult.baRemoved;
  double dbh0 = std::trunc(s_.firstClass + 0.5);
  for (int i = 0; i < kClassCount; ++i) {
    auto k = static_cast<std::size_t>(i);
    if (x - removed <= s_.classBA[k]) {
      if (s_.classBA[k] != 0) {
        double before = s_.classTrees[k];
        double q = (x - removed) / s_.classBA[k];
        cutShare(i, q);
        // The partly cut class keeps this many trees when the distribution is rebuilt.
        s_.distCap = (1 - q) * before;
      }
      break;
    }
    removeClass(i);
    if (!(i + 1 < kClassCount && s_.classTrees[k + 1] > 0.001 && removed < x)) break;
  }
  settleThinning("Low Thinning", residual, x);
  s_.truncationDBH = dbh0 + emptied_;
  closeThinning(false);
}

void Engine::lowThinByDBH() {
  startThinning("LOW");
  double target = askThinToDBHWrapped();
  if (target == kCancelledDiameter) {
    s_.status = -1;
    return;
  }
  const double& removed = s_.thinResult.baRemoved;
  double dbh0 = std::trunc(s_.firstClass + 0.5);
  int wholeTarget = truncToInt(target);
  for (int i = 0; i < kClassCount && truncToInt(dbh0 + i) < wholeTarget; ++i) {
    auto k = static_cast<std::size_t>(i);
    if (s_.BA - (removed + s_.classBA[k]) < 20) {
      std::string line2 =
          formatText("Classes of %.0f inches and larger are left standing.", dbh0 + i);
      message(" BASAL AREA THINNING ERROR ",
              "Thinning to that diameter would leave less than 20 sq.ft of basal area.",
              line2.c_str());
      break;
    }
    removeClass(i);
  }
  double achieved = removed;
  double residual = s_.BA - achieved;
  s_.baRatio = residual / s_.BA;
  settleThinning("Low Thinning", residual, achieved);
  s_.truncationDBH = dbh0 + emptied_;
  s_.thinAge = s_.AG;
  closeThinning(false);
}

void Engine::rowLowThin() {
  s_.thinAge = s_.AG;
  startThinning("ROW/LOW");
  double residual = 0;
  double rowPercent = 0;
  if (askRowLowWrapped(residual, rowPercent) == 0) return;
  double x = s_.BA - residual;
  if (refuseOversizedRemoval(x)) return;
  double f = (x / s_.BA) * (rowPercent / 100);
  s_.baRatio = residual / ((100 - rowPercent) * x / 100 + residual);
  const double& removed = s_.thinResult.baRemoved;
  // The row share from every class, its top volume kept.
  int i = 0;
  do {
    cutShare(i, f, false);
    ++i;
  } while (i < kClassCount && s_.classTrees[static_cast<std::size_t>(i)] > 0.001);
  // Then the rest from below.
  bool wholeRemoved = false;
  for (i = 0; removed < x && i < kClassCount; ++i) {
    auto k = static_cast<std::size_t>(i);
    if (x - removed <= s_.classBA[k]) {
      if (s_.classBA[k] != 0) cutShare(i, (x - removed) / s_.classBA[k]);
      break;
    }
    removeClass(i);
    wholeRemoved = true;
  }
  settleThinning("Row/Low Thinning", residual, x);
  if (wholeRemoved) s_.truncationDBH = std::floor(s_.firstClass);
  closeThinning(false);
}

}  // namespace keldovar
