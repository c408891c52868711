// Golden files: small files of exact bytes under tests/golden.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace lumisk::testing {

inline std::string goldenFile(const std::string& name) {
  std::ifstream in(std::string(LUMISK_GOLDEN_DIR) + "/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing golden file " + name);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace lumisk::testing
