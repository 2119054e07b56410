// The RFC 4180 reader of inventories.
#include "forest/csv_reader.h"

#include <vector>

namespace keldovar::forest {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Record {
  std::vector<std::string> fields;
  int line = 0;
  std::string error;
  bool blank = false;  // an empty line, no record
};

class CsvScanner {
 public:
  explicit CsvScanner(std::string_view text) : text_(text) {}

  bool done() const { return at_ >= text_.size(); }
  // False when a quoted field is still open at the end of the text.
  bool next(Record& record) {
    record = Record{};
    record.line = line_;
    std::string field;
    bool quotedField = false;
    for (;;) {
      if (at_ >= text_.size()) {
        record.fields.push_back(std::move(field));
        break;
      }
      char c = text_[at_];
      if (c == '"' && field.empty() && !quotedField) {
        if (!readQuoted(field)) return false;
        quotedField = true;
        continue;
      }
      if (c == ',') {
        record.fields.push_back(std::move(field));
        field.clear();
        quotedField = false;
        ++at_;
        continue;
      }
      if (c == '\r' || c == '\n') {
        record.fields.push_back(std::move(field));
        endLine();
        break;
      }
      if (quotedField && record.error.empty()) {
        record.error =
            "text after the closing quote of field " + std::to_string(record.fields.size() + 1);
      }
      field += c;
      ++at_;
    }
    record.blank = record.fields.size() == 1 && record.fields.front().empty() && !quotedField;
    return true;
  }

  int line() const { return line_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;

  void endLine() {
    if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
    ++at_;
    ++line_;
  }

  // From the opening quote to past the closing one.
  bool readQuoted(std::string& field) {
    ++at_;
    for (;;) {
      if (at_ >= text_.size()) return false;
      char c = text_[at_];
      if (c == '"') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          field += '"';
          at_ += 2;
          continue;
        }
        ++at_;
        return true;
      }
      if (c == '\r' || c == '\n') {
        bool crlf = c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n';
        field.append(text_.substr(at_, crlf ? 2 : 1));
        at_ += crlf ? 2 : 1;
        ++line_;
        continue;
      }
      field += c;
      ++at_;
    }
  }
};

}  // namespace

InventoryRead readCsvInventory(std::string_view text, std::string source) {
  InventoryRead read;
  read.inventory.source = std::move(source);
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  CsvScanner scanner(text);
  Record record;
  bool header = false;
  int number = 0;
  while (!scanner.done()) {
    int line = scanner.line();
    if (!scanner.next(record)) {
      read.error = "line " + std::to_string(line) + ": a quoted field is not closed";
      return read;
    }
    if (record.blank) continue;
    if (!header) {
      if (!record.error.empty()) {
        read.error = "line " + std::to_string(line) + ": " + record.error;
        return read;
      }
      read.inventory.columns = std::move(record.fields);
      header = true;
      continue;
    }
    InventoryRow row;
    row.number = ++number;
    row.line = record.line;
    row.error = record.error;
    std::size_t columns = read.inventory.columns.size();
    if (row.error.empty() && record.fields.size() != columns) {
      row.error = "the row has " + std::to_string(record.fields.size()) + " fields, the header " +
                  std::to_string(columns);
    }
    for (std::string& field : record.fields) row.cells.push_back(Cell::text(std::move(field)));
    read.inventory.rows.push_back(std::move(row));
  }
  if (!header) read.error = "no header row: the first line names the columns";
  return read;
}

}  // namespace keldovar::forest
