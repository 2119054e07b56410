// Stored lines: inline text, a heap copy only for the rare longer line.
#include "document/table_line.h"

#include <algorithm>
#include <cstring>
#include <ostream>

namespace keldovar {

TableLine::TableLine(TableLine&& other) noexcept
    : size_(other.size_), long_(std::move(other.long_)) {
  if (!long_) std::memcpy(inline_.data(), other.inline_.data(), size_ + 1);
  other.size_ = 0;
  other.inline_[0] = '\0';
}

TableLine& TableLine::operator=(const TableLine& other) {
  if (this != &other) assign(other.view());
  return *this;
}

TableLine& TableLine::operator=(TableLine&& other) noexcept {
  if (this == &other) return *this;
  size_ = other.size_;
  long_ = std::move(other.long_);
  if (!long_) std::memcpy(inline_.data(), other.inline_.data(), size_ + 1);
  other.size_ = 0;
  other.inline_[0] = '\0';
  return *this;
}

void TableLine::resize(std::size_t size) {
  if (size <= kInline) {
    if (long_) std::memcpy(inline_.data(), long_.get(), std::min<std::size_t>(size, size_));
    long_.reset();
  } else {
    auto text = std::make_unique<char[]>(size + 1);
    std::memcpy(text.get(), data(), std::min<std::size_t>(size, size_));
    long_ = std::move(text);
  }
  size_ = static_cast<std::uint32_t>(size);
  begin()[size] = '\0';
}

void TableLine::assign(std::string_view text) {
  if (text.size() > kInline) {
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.data(), text.size());
    copy[text.size()] = '\0';
    long_ = std::move(copy);
  } else {
    // The text may lie in this line's own heap copy: copied before that is let go.
    std::memmove(inline_.data(), text.data(), text.size());
    inline_[text.size()] = '\0';
    long_.reset();
  }
  size_ = static_cast<std::uint32_t>(text.size());
}

std::ostream& operator<<(std::ostream& out, const TableLine& line) {
  return out << line.view();
}

const TableLine& FinancialLines::operator[](std::size_t index) const {
  static const TableLine kEmpty;
  return index < lines_.size() ? lines_[index] : kEmpty;
}

TableLine& FinancialLines::operator[](std::size_t index) {
  index = std::min(index, kCapacity - 1);
  if (index >= lines_.size()) lines_.resize(index + 1);
  return lines_[index];
}

std::span<const TableLine> FinancialLines::first(std::size_t count) const {
  return {lines_.data(), std::min(count, lines_.size())};
}

}  // namespace keldovar
