// SHA-256 (FIPS 180-4) of the run's inputs, for the manifest that lets a run be reproduced.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace keldovar::forest {

class Sha256 {
 public:
  Sha256();
  void update(std::string_view bytes);
  // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
  std::string hexDigest();

 private:
  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> block_{};
  std::size_t blockUsed_ = 0;
  std::uint64_t length_ = 0;

  void compress();
};

std::string sha256Hex(std::string_view bytes);

}  // namespace keldovar::forest
