// A generated inventory for the inventory tests and benchmark: stands of all three kinds drawn
// from a seeded sequence, every tenth row bad in one of ten ways, with the message it gets.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace keldovar::cli {

struct MadeInventory {
  std::string csv;
  std::map<int, std::string> bad;  // row -> the message after "stand ID: " (first line)
};

// Grows five years, thins to 55 square feet by Thinomatic, grows ten (the stand table of a
// thinned stand needs them) and harvests: every good stand of the inventory takes each step.
inline constexpr const char* kPrescription =
    "# five steps: the stand's start, grow, thin, grow, harvest\n"
    "financial interest=6\n"
    "grow +5\n"
    "thin thinomatic ba=55\n"
    "grow +10\n"
    "harvest\n";

class Draws {
 public:
  explicit Draws(std::uint64_t seed) : state_(seed) {}
  int between(int low, int high) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return low + static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(high - low + 1));
  }

 private:
  std::uint64_t state_;
};

inline std::string goodRow(int row, Draws& d) {
  std::string id = std::to_string(row);
  std::string acres = std::to_string(d.between(5, 400)) + "." + std::to_string(d.between(0, 9));
  std::string owner = ",owner" + std::to_string(row % 7) + ",\"" + std::to_string(row) + ", x\"";
  switch (d.between(0, 2)) {
    case 0:
      return "P" + id + "," + acres + ",plantation,,," + std::to_string(d.between(600, 900)) +
             ",,," + std::to_string(d.between(62, 80)) + ",,," + std::to_string(d.between(80, 95)) +
             ",herbwoody" + owner;
    case 1: {
      return "U" + id + "," + acres + ",unthinned," + std::to_string(d.between(10, 18)) + ",," +
             std::to_string(d.between(450, 800)) + "," + std::to_string(d.between(85, 130)) + ",," +
             std::to_string(d.between(60, 75)) + ",,,," + owner;
    }
    default: {
      int age = d.between(16, 22);
      return "T" + id + "," + acres + ",thinned," + std::to_string(age) + ",," +
             std::to_string(d.between(250, 400)) + "," + std::to_string(d.between(75, 100)) + ",," +
             std::to_string(d.between(62, 75)) + "," + std::to_string(d.between(10, age - 4)) +
             "," + std::to_string(d.between(25, 40)) + ",," + owner;
    }
  }
}

// Rows 10, 20, 30, ... are bad, each in the next of ten ways.
inline MadeInventory makeInventory(int stands, std::uint64_t seed) {
  struct Bad {
    const char* row;  // ID replaces "@"
    const char* message;
  };
  static const Bad kBad[] = {
      {"@,12,plantation,,,50,,,65,,,85,none", "trees: Enter an integer between 100 and 1500."},
      {"@,0,plantation,,,600,,,65,,,85,none",
       "acres: give the stand's area, a number of acres "
       "above 0"},
      {"@,3,pine,,,600,,,65,,,85,none", "kind: give unthinned, thinned or plantation"},
      {"P1,3,plantation,,,600,,,65,,,85,none", "stand: 'P1' is also the id of row 1"},
      {"@,3,thinned,x,,300,70,,65,12,30,,", "age: Enter an integer."},
      {"@,3,plantation,12,,600,,,65,,,85,none",
       "age: not a key of plantation stands (si, trees, "
       "survival, control)"},
      {",3,plantation,,,600,,,65,,,85,none", "stand: give the stand's id"},
      {"@,3,thinned,20,,300,70,,65,24,30,,",
       "thinage: Please specify the Thinning age between 8 and 20"},
      {"@,3,unthinned,12,,500", "the row has 8 fields, the header 15"},
      {"@,3,unthinned,38,,500,80,,60,,,,",
       "prescription.kdr:3: age: The projection age must be "
       "between   8 and 40  for unthinned stands. "},
  };
  MadeInventory made;
  made.csv =
      "stand,acres,kind,age,height,trees,ba,pctba,si,thinage,pcttrees,survival,control,"
      "owner,note\n";
  Draws draws(seed);
  for (int row = 1; row <= stands; ++row) {
    if (row % 10 != 0) {
      std::string line = goodRow(row, draws);
      if (row == 1) line = "P1" + line.substr(line.find(','));
      made.csv += line + "\n";
      continue;
    }
    const Bad& bad = kBad[(row / 10 - 1) % 10];
    std::string line = bad.row;
    if (line[0] == '@') line = "B" + std::to_string(row) + line.substr(1);
    made.csv += line + ",,\n";
    made.bad[row] = bad.message;
  }
  return made;
}

}  // namespace keldovar::cli
