// A scratch folder of the running test's own, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace keldovar::cli {

struct Scratch {
  Scratch() { std::filesystem::create_directories(dir); }
  ~Scratch() { std::filesystem::remove_all(dir); }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("keldovar-cli-" + std::to_string(::getpid()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

}  // namespace keldovar::cli
