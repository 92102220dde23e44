// Whole files as bytes, for tests that set up or check data files.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vellano::testing {

// Writes a file (making its folders), bytes exactly as given.
inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a file; empty when it does not exist.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vellano::testing
