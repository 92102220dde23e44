// A fresh working folder per test: the data files of a test never meet another's.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "support/files.h"

namespace vellano::testing {

class WorkFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "vellano-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::current_path(folder_);
    // Drive letters must name the folders inside this one.
    for (char letter : std::string("ABCDE")) {
      const std::string name = std::string("VELLANO_DRIVE_") + letter;
      if (const char* value = getenv(name.c_str())) saved_[index(letter)] = value;
      unsetenv(name.c_str());
    }
  }

  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    for (char letter : std::string("ABCDE")) {
      const std::string name = std::string("VELLANO_DRIVE_") + letter;
      if (saved_[index(letter)]) setenv(name.c_str(), saved_[index(letter)]->c_str(), 1);
    }
  }

  static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    testing::writeFile(path, bytes);
  }
  static std::string readFile(const std::filesystem::path& path) { return testing::readFile(path); }

 private:
  static std::size_t index(char letter) { return static_cast<std::size_t>(letter - 'A'); }

  std::filesystem::path previous_;
  std::filesystem::path folder_;
  std::array<std::optional<std::string>, 5> saved_;
};

}  // namespace vellano::testing
