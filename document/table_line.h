// One stored report line and the financial analysis's lines: the text inline up to the widest
// line the report's formats write, so that a stored table holds no heap string a line; a longer
// line (a foreign file's, up to 300 characters) goes to the heap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keldovar {

class TableLine {
 public:
  // The widest format's line (the financial analysis's) is 88 characters.
  static constexpr std::size_t kInline = 95;

  TableLine() { inline_[0] = '\0'; }
  TableLine(std::string_view text) { assign(text); }  // a line converts from its text
  TableLine(const char* text) : TableLine(std::string_view(text)) {}
  TableLine(const std::string& text) : TableLine(std::string_view(text)) {}
  TableLine(const TableLine& other) : TableLine(other.view()) {}
  TableLine(TableLine&& other) noexcept;
  TableLine& operator=(const TableLine& other);
  TableLine& operator=(TableLine&& other) noexcept;
  TableLine& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  TableLine& operator=(const char* text) { return *this = std::string_view(text); }
  TableLine& operator=(const std::string& text) { return *this = std::string_view(text); }
  ~TableLine() = default;

  void assign(std::string_view text);
  // `size` characters to be written in place through begin(), as a reader fills the line.
  void resize(std::size_t size);

  std::string_view view() const { return {data(), size_}; }
  operator std::string_view() const { return view(); }
  operator std::string() const { return std::string(view()); }
  const char* data() const { return long_ ? long_.get() : inline_.data(); }
  const char* c_str() const { return data(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char* begin() { return long_ ? long_.get() : inline_.data(); }
  char* end() { return begin() + size_; }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size_; }

  friend bool operator==(const TableLine& a, const TableLine& b) { return a.view() == b.view(); }
  friend bool operator==(const TableLine& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const TableLine& a, const std::string& b) { return a.view() == b; }
  friend bool operator==(const TableLine& a, const char* b) {
    return a.view() == std::string_view(b);
  }

 private:
  std::uint32_t size_ = 0;
  std::array<char, kInline + 1> inline_;  // the text and its terminator when it fits
  std::unique_ptr<char[]> long_;          // else here, terminated
};

std::ostream& operator<<(std::ostream& out, const TableLine& line);

// The financial analysis's lines 0..100 of a table: only the lines written are held (a table
// without the analysis holds none); a line never written reads as empty.
class FinancialLines {
 public:
  static constexpr std::size_t kCapacity = 101;
  static constexpr std::size_t size() { return kCapacity; }

  const TableLine& operator[](std::size_t index) const;
  // Writing a line holds every line below it too. Out of range is a caller's fault; the last
  // line keeps it inside the capacity.
  TableLine& operator[](std::size_t index);
  // Lines 0..count-1, as far as they were written.
  std::span<const TableLine> first(std::size_t count) const;

 private:
  std::vector<TableLine> lines_;
};

}  // namespace keldovar
