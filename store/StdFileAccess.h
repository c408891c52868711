// FileAccess over the C++ standard library, for the native tools (benchmarks, the design file checker).
// The plug-in itself uses the Win32 implementation.
#pragma once

#include "store/Platform.h"

namespace lumisk {

class StdFileAccess final : public FileAccess {
 public:
  std::optional<std::string> readAll(const std::string& path) override;
  // Writes a temporary file beside `path`, then renames it over `path`.
  void replaceAll(const std::string& path, std::string_view bytes) override;
  std::optional<std::string> tempFolder() override;
};

}  // namespace lumisk
