// Stored lines: inline or on the heap, they hold their text through every copy, move and
// resize; the financial lines hold only what was written.
#include "document/table_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace keldovar {
namespace {

TEST(TableLine, KeepsItsTextInlineOrOnTheHeap) {
  const std::string texts[] = {"", "x", std::string(TableLine::kInline, 'a'),
                               std::string(TableLine::kInline + 1, 'b'), std::string(300, 'c')};
  for (const std::string& text : texts) {
    for (const std::string& before : texts) {
      TableLine line(before);
      line = text;  // over an inline or a heap text
      EXPECT_EQ(line, text);
      EXPECT_EQ(std::string(line.c_str()), text);
      TableLine copy(line);
      TableLine moved(std::move(copy));
      EXPECT_EQ(moved, text);
      EXPECT_TRUE(copy.empty());
      TableLine assigned(before);
      assigned = moved;
      EXPECT_EQ(assigned.view(), text);
      assigned = std::move(moved);
      EXPECT_EQ(assigned, text.c_str());
      assigned = assigned.view().substr(std::min<std::size_t>(1, text.size()));  // its own text
      EXPECT_EQ(assigned, text.substr(std::min<std::size_t>(1, text.size())));
    }
  }
  // Filled in place, as the stand file's reader does, keeping what fits of the text before.
  TableLine line("abc");
  for (std::size_t size : {2ul, 200ul, 5ul, 0ul}) {
    line.resize(size);
    for (char& c : line) c = 'z';
    EXPECT_EQ(line, std::string(size, 'z'));
    EXPECT_EQ(line.c_str()[size], '\0');
  }
}

TEST(FinancialLines, HoldOnlyTheLinesWritten) {
  FinancialLines lines;
  const FinancialLines& read = lines;
  EXPECT_TRUE(read[100].empty());
  EXPECT_TRUE(read.first(3).empty());
  lines[2] = "third";
  EXPECT_EQ(read.first(3).size(), 3u);
  EXPECT_EQ(read.first(40).size(), 3u);
  EXPECT_EQ(read[2], "third");
  EXPECT_TRUE(read[1].empty() && read[50].empty());
  lines[500] = "last";  // beyond the capacity: the last line
  EXPECT_EQ(read[100], "last");
  EXPECT_EQ(read.first(101).size(), 101u);
}

}  // namespace
}  // namespace keldovar
