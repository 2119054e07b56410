// Writing and reading the stand file. One field list drives both directions, so the order
// written and the order read cannot drift apart; the writer clamps what the reader refuses.
#include "app/stand_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <limits>
#include <system_error>

#include "app/safe_file.h"
#include "engine/log_rule.h"

namespace keldovar {
namespace {

static_assert(sizeof(int) == 4 && std::numeric_limits<float>::is_iec559 &&
                  std::numeric_limits<double>::is_iec559,
              "file values are read straight into these");

constexpr std::size_t kMaxLine = kLineLength;
constexpr std::size_t kMaxLogRuleName = kLogRuleNameCapacity - 1;
// The bark basis is handed to the engine's fixed buffer, like the log-rule name.
constexpr std::size_t kMaxBarkBasis = kBarkBasisCapacity - 1;
constexpr std::size_t kStockColumnsInFile = 8;  // the spare ninth column stays in memory
// No valid file comes near this even with every line in the wide form (about 9 MB), and
// bytes after the document block are ignored anyway.
constexpr std::size_t kReadLimit = std::size_t{16} << 20;

// Entries 0..last of a fixed array; the reader has validated `last`, the writer clamps it,
// and clamping once more here keeps every loop inside its array whatever happened.
std::size_t entries(int last, int capacity) {
  return static_cast<std::size_t>(std::clamp(last, -1, capacity - 1) + 1);
}

class FileWriter {
 public:
  std::vector<std::uint8_t> bytes;

  void i32(int v) { little(static_cast<std::uint32_t>(v), 4); }
  void f32(float v) { little(std::bit_cast<std::uint32_t>(v), 4); }
  void f64(double v) { little(std::bit_cast<std::uint64_t>(v), 8); }
  void anyF64(double v) { f64(v); }
  void measuredHistory(const std::array<HistoryRecord, kHistoryCapacity>&, int) {}
  void flag(bool v) { i32(v ? 1 : 0); }
  void count(int v, int lo, int hi) { i32(std::clamp(v, lo, hi)); }
  void reservedI32() { i32(0); }
  void reservedF64() { f64(0); }

  // Every string is bounded far below 65534 characters, so the 32-bit length form of other
  // writers is never needed here.
  void text(std::string_view s, std::size_t maxLength) {
    std::size_t n = std::min(s.size(), maxLength);
    if (n >= 0xFF) little(0xFF, 1);
    little(n, n < 0xFF ? 1 : 2);
    bytes.insert(bytes.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
  }

  // The raw array goes out as it is, but never without a terminator.
  void label(const char (&l)[kLabelLength]) {
    bool terminated = std::find(l, l + kLabelLength, '\0') != l + kLabelLength;
    for (int i = 0; i < kLabelLength; ++i) {
      bool keep = terminated || i + 1 < kLabelLength;
      little(keep ? static_cast<unsigned char>(l[i]) : 0u, 1);
    }
  }

  void logRule(const ReportTable& table, const DocumentSettings&) {
    i32(logRuleCode(table.logRuleName.c_str()));
  }

 private:
  void little(std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

// Reads with a sticky failure: once anything is wrong every later read yields zeros and the
// whole result is thrown away, so the field list needs no error paths of its own.
class FileReader {
 public:
  explicit FileReader(std::span<const std::uint8_t> data) : data_(data) {}

  bool failed() const { return failed_; }
  std::size_t remaining() const { return data_.size() - pos_; }
  int readI32() { return static_cast<int>(static_cast<std::uint32_t>(take(4))); }

  void i32(int& v) { v = readI32(); }
  // The numbers are measurements, values and limits: none is ever infinite or not a number.
  void f32(float& v) {
    v = std::bit_cast<float>(static_cast<std::uint32_t>(take(4)));
    failed_ = failed_ || !std::isfinite(v);
  }
  void f64(double& v) {
    anyF64(v);
    failed_ = failed_ || !std::isfinite(v);
  }
  // A slot that may lie past its count, where a file may hold whatever was in memory.
  void anyF64(double& v) { v = std::bit_cast<double>(take(8)); }
  // The history records are read before their count: those it covers are checked here.
  void measuredHistory(const std::array<HistoryRecord, kHistoryCapacity>& history, int last) {
    for (std::size_t r = 0; r < entries(last, kHistoryCapacity); ++r) {
      const HistoryRecord& h = history[r];
      for (double v : {h.age, h.trees, h.basal_area, h.volume, h.cords, h.topcords, h.bdft}) {
        failed_ = failed_ || !std::isfinite(v);
      }
    }
  }
  void flag(bool& v) { v = readI32() != 0; }
  void reservedI32() { take(4); }
  void reservedF64() { take(8); }

  void count(int& v, int lo, int hi) {
    int raw = readI32();
    failed_ = failed_ || raw < lo || raw > hi;
    if (!failed_) v = raw;
  }

  // A string or a stored line.
  template <class Text>
  void text(Text& s, std::size_t maxLength) {
    bool wide = false;
    std::uint64_t n = length(wide);
    std::uint64_t unit = wide ? 2 : 1;
    if (failed_ || n > maxLength || n * unit > remaining()) {
      failed_ = true;
      return;
    }
    s.resize(static_cast<std::size_t>(n));
    // Wide text has no 8-bit code page here beyond Latin-1; anything else cannot be shown.
    for (char& c : s) {
      std::uint64_t code = take(static_cast<int>(unit));
      c = code > 0xFF ? '?' : static_cast<char>(static_cast<unsigned char>(code));
    }
  }

  void label(char (&l)[kLabelLength]) {
    bool terminated = false;
    for (char& c : l) {
      c = static_cast<char>(static_cast<unsigned char>(take(1)));
      terminated = terminated || c == '\0';
    }
    if (!terminated) failed_ = true;
  }

  void logRule(ReportTable& table, DocumentSettings& settings) {
    int code = readI32();
    table.logRuleName = logRuleNameOf(code);
    settings.logRuleFactor = logRuleFactorOf(code);
  }

 private:
  std::uint64_t take(int size) {
    if (failed_ || remaining() < static_cast<std::size_t>(size)) {
      failed_ = true;
      return 0;
    }
    std::uint64_t v = 0;
    for (int i = 0; i < size; ++i) v |= std::uint64_t{data_[pos_++]} << (8 * i);
    return v;
  }

  // One byte below 255, else a 16-bit length, else a 32-bit one; 0xFFFE in the 16-bit place
  // marks UTF-16 text whose own length follows in the same forms.
  std::uint64_t length(bool& wide) {
    std::uint64_t n = take(1);
    if (n < 0xFF) return n;
    n = take(2);
    if (n == 0xFFFE) {
      if (wide) failed_ = true;
      wide = true;
      return failed_ ? 0 : length(wide);
    }
    if (n < 0xFFFF) return n;
    n = take(4);
    if (n == 0xFFFFFFFF) failed_ = true;
    return n;
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

// The field lists. `Io` is FileWriter or FileReader; the other parameters are const for the
// writer, so a list that tried to change a document while saving would not compile.

template <class Io, class Record>
void exchangeHistory(Io& io, Record& h) {
  io.anyF64(h.age);
  io.label(h.label);
  for (auto* v : {&h.trees, &h.basal_area, &h.volume, &h.cords, &h.topcords, &h.bdft}) {
    io.anyF64(*v);
  }
}

template <class Io, class Graph>
void exchangeBars(Io& io, Graph& g) {
  io.f32(g.barMax);
  io.count(g.barLast, -1, kBarCapacity - 1);
  io.i32(g.barAge);
  for (std::size_t k = 0; k < g.bars.size(); ++k) {
    auto& r = g.bars[k];
    for (auto* v : {&g.barValue[k], &g.barClass[k], &r.left, &r.top, &r.right, &r.bottom})
      io.i32(*v);
  }
}

template <class Io, class Positions>
void exchangePositions(Io& io, Positions& p) {
  for (auto* v : {&p.graphBaseY, &p.graphTitleY, &p.titleY, &p.rowsEndY, &p.afterStockY,
                  &p.firstRowY, &p.beforeStockY, &p.historyHeadY, &p.historyRowsY, &p.historyFootY,
                  &p.financialY, &p.headTopY, &p.groupTopY, &p.thinningY}) {
    io.i32(*v);
  }
}

template <class Io, class Lines>
void exchangeLines(Io& io, Lines& lines, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) io.text(lines[i], kMaxLine);
}

template <class Io, class Table, class Settings>
void exchangeTable(Io& io, Table& t, Settings& settings) {
  io.i32(t.hasStandTable);
  io.i32(t.hasThinningReport);
  exchangeLines(io, t.thinningLines, t.thinningLines.size());
  exchangeBars(io, t.bar);
  for (auto& record : t.history) exchangeHistory(io, record);
  io.count(t.stockLast, -1, kStockRowCapacity - 1);
  io.count(t.historyLast, -1, kHistoryCapacity - 1);
  io.measuredHistory(t.history, t.historyLast);
  io.count(t.financialLast, -1, kFinancialLineCapacity - 1);
  exchangeLines(io, t.beforeStockLines, t.beforeStockLines.size());
  for (std::size_t r = 0; r < entries(t.stockLast, kStockRowCapacity); ++r) {
    for (std::size_t c = 0; c < kStockColumnsInFile; ++c) io.f32(t.stock[r][c]);
  }
  exchangeLines(io, t.afterStockLines, t.afterStockLines.size());
  exchangeLines(io, t.financialLines, entries(t.financialLast, kFinancialLineCapacity));
  exchangeLines(io, t.historyText, t.historyText.size());
  exchangeLines(io, t.titleLines, t.titleLines.size());
  auto& layout = t.storedLayout;
  for (std::size_t c = 0; c < layout.colChars.size(); ++c) {
    io.i32(layout.colWidth[c]);
    io.i32(layout.colChars[c]);
  }
  exchangePositions(io, layout.positions);
  io.text(t.barkBasis, kMaxLine);
  io.f64(t.merchLimit);
  io.logRule(t, settings);
}

template <class Io, class Snapshot>
void exchangeStand(Io& io, Snapshot& n) {
  for (auto* v : {&n.BA, &n.TPA, &n.HD, &n.AG, &n.SI}) io.f64(*v);
  io.reservedF64();
  io.f64(n.minClass);
  io.reservedF64();
  io.f64(n.maxClass);
  io.reservedF64();
  for (auto* v : {&n.PLNTR, &n.targetAge, &n.truncationDBH, &n.firstClass}) io.f64(*v);
  io.i32(n.unthinned);
  io.i32(n.initialized);
  io.count(n.historyCount, 0, kHistoryCapacity);
  for (std::size_t c = 0; c < static_cast<std::size_t>(kClassCount); ++c) {
    for (auto* a : {&n.classPulpTons, &n.classBA, &n.classHeight, &n.classSawTons, &n.classVolume,
                    &n.classTopVolume, &n.classTrees, &n.classIUPulpTons}) {
      io.f64((*a)[c]);
    }
  }
}

template <class Io, class Financial>
void exchangeFinancial(Io& io, Financial& f) {
  for (const FinancialField& field : kFinancialFields) io.f32(f.*field.value);
}

template <class Io, class Snapshot>
void exchangeTreatments(Io& io, Snapshot& n) {
  io.f32(n.fFert_Nitrogen);
  io.i32(n.iFertAge);
  io.count(n.fertAgesLast, -1, kFertAgesCapacity - 1);
  for (auto& age : n.fertAges) io.i32(age);
  io.i32(n.fertRecordPending);
  io.i32(n.bFert_Phosphorus);
  auto& r = n.thinResult;
  for (auto* v : {&r.residualBA, &r.treesCut, &r.baRemoved, &r.volumeRemoved, &r.tonsRemoved,
                  &r.sawTonsRemoved, &r.pulpTonsRemoved}) {
    io.f64(*v);
  }
  io.i32(n.thinLock);
  io.reservedI32();
  io.reservedI32();
  io.i32(n.existingStand);
  for (auto* v : {&n.distScale, &n.distCap, &n.thinAge, &n.treesRatio, &n.baRatio,
                  &n.pctTreesRemoved, &n.pctBARemoved}) {
    io.f64(*v);
  }
}

template <class Io, class Remembered, class Settings>
void exchangeRemembered(Io& io, Remembered& r, Settings& s) {
  for (auto* v : {&r.rowLowPercent, &r.rowLowResidual, &r.thinToDBH, &r.residualBA}) io.f32(*v);
  for (auto* v : {&r.growAge, &r.plantTrees, &r.plantSiteIndex, &r.thinnedThinAge}) io.i32(*v);
  io.f32(r.thinnedBasalArea);
  io.f32(r.plantSurvival);
  for (auto* v : {&r.pctBasalArea, &r.pctTrees, &r.unthinnedTrees, &r.thinnedSiteIndex}) io.i32(*v);
  io.f32(r.thinnedHeight);
  for (auto* v : {&r.thinnedAge, &r.thinnedTrees, &r.unthinnedSiteIndex}) io.i32(*v);
  io.f32(r.unthinnedHeight);
  io.f32(s.merchLimitShown);  // the document's settings sit among the remembered values
  io.i32(s.sawThreshold);
  io.i32(s.pulpThreshold);
  io.f32(r.unthinnedAge);
  io.f32(r.unthinnedBasalArea);
}

template <class Io, class Store>
void exchangeHeader(Io& io, Store& store) {
  io.i32(store.firstShown);
  io.i32(store.stepTable);
  io.count(store.lastIndex, -1, kTableCapacity - 1);
}

template <class Io, class Snapshot, class Settings, class Remembered, class Options>
void exchangeDocumentBlock(Io& io, Snapshot& n, Settings& s, Remembered& r, Options& o) {
  io.flag(o.showBargraph);
  io.flag(o.showFinancial);
  exchangeStand(io, n);
  exchangeFinancial(io, s.financial);
  exchangeTreatments(io, n);
  io.f64(s.merchLimit);
  io.f64(n.totalVolume);
  io.f64(n.distBA);
  io.text(s.barkBasis, kMaxBarkBasis);
  io.text(s.logRuleName, kMaxLogRuleName);
  exchangeRemembered(io, r, s);
}

// What a file replaces in a document, gathered apart until the whole file has been accepted.
// Only the tables the file holds are copied, each starting from the document's own slot.
struct LoadedDocument {
  int firstShown, stepTable, lastIndex;
  StandSnapshot snapshot;
  DocumentSettings settings;
  RememberedValues remembered;
  ViewOptions options;
  std::vector<ReportTable> tables;
};

void commit(LoadedDocument& loaded, DocumentContent& document) {
  TableStore& store = document.store;
  store.firstShown = loaded.firstShown;
  store.stepTable = loaded.stepTable;
  store.lastIndex = loaded.lastIndex;
  // The highest slot first, so that the store allocates every slot up to it at once.
  for (std::size_t i = loaded.tables.size(); i-- > 0;)
    store.tables[i] = std::move(loaded.tables[i]);
  store.snapshot = loaded.snapshot;
  // Not carried by the file: a reopened stand is never blocked by an old truncation.
  store.snapshot.status = 1;
  store.snapshot.truncatedDistribution = 0;
  store.snapshot.volumeMode = 0;
  document.settings = std::move(loaded.settings);
  document.remembered = loaded.remembered;
  document.options = loaded.options;
}

std::string reasonOf(int error) {
#ifdef EDQUOT
  if (error == EDQUOT) return "Destination disk drive is full.";
#endif
  if (error == ENOSPC) return "Destination disk drive is full.";
  return fileErrorText(error) + ".";
}

StandFileResult fileError(const char* verb, const std::string& path, int error) {
  return {StandFileStatus::FileError,
          std::string("Unable to ") + verb + " the file \"" + path + "\".  " + reasonOf(error)};
}

}  // namespace

std::vector<std::uint8_t> writeStandFile(const DocumentContent& document) {
  FileWriter writer;
  writer.i32(kStandFileMagic);
  exchangeHeader(writer, document.store);
  for (std::size_t i = 0; i < entries(document.store.lastIndex, kTableCapacity); ++i) {
    exchangeTable(writer, document.store.tables[i], document.settings);
  }
  exchangeDocumentBlock(writer, document.store.snapshot, document.settings, document.remembered,
                        document.options);
  return std::move(writer.bytes);
}

StandFileResult readStandFile(std::span<const std::uint8_t> bytes, DocumentContent& document) {
  FileReader reader(bytes);
  int magic = reader.readI32();
  if (reader.failed()) return {StandFileStatus::BadFormat, kBadFormatMessage};
  if (magic != kStandFileMagic) return {StandFileStatus::WrongVersion, kWrongVersionMessage};

  const TableStore& store = document.store;
  LoadedDocument loaded{store.firstShown,  store.stepTable,     store.lastIndex,  store.snapshot,
                        document.settings, document.remembered, document.options, {}};
  exchangeHeader(reader, loaded);
  std::size_t count = reader.failed() ? 0 : entries(loaded.lastIndex, kTableCapacity);
  loaded.tables.reserve(count);
  for (std::size_t i = 0; i < count && !reader.failed(); ++i) {
    loaded.tables.push_back(store.tables[i]);
    exchangeTable(reader, loaded.tables.back(), loaded.settings);
  }
  exchangeDocumentBlock(reader, loaded.snapshot, loaded.settings, loaded.remembered,
                        loaded.options);
  if (reader.failed()) return {StandFileStatus::BadFormat, kBadFormatMessage};
  commit(loaded, document);
  return {};
}

StandFileResult saveStandFile(const std::string& path, const DocumentContent& document) {
  std::vector<std::uint8_t> bytes = writeStandFile(document);
  if (int error = replaceFileContents(path, bytes); error != 0) {
    return fileError("save", path, error);
  }
  return {};
}

StandFileResult openStandFile(const std::string& path, DocumentContent& document) {
  std::vector<std::uint8_t> bytes;
  if (int error = readFileContents(path, kReadLimit, bytes); error != 0) {
    return fileError("open", path, error);
  }
  return readStandFile(bytes, document);
}

}  // namespace keldovar
