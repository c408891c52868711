// A folder of the test's own under the system's temporary folder, deleted with everything in it (also
// read-only files) when the test ends.
#pragma once

#include <string>
#include <vector>

namespace lumisk::testing {

// Why a folder or file of a Japanese name may fail to be made, to go with such a failure.
inline constexpr const char* kJapaneseNames =
    "Japanese file names under Wine need the C library's locale of LC_ALL compiled (scripts/setup.sh)";

// The names in a folder given with its trailing backslash (not "." and ".."), sorted.
std::vector<std::wstring> namesIn(const std::wstring& folder);
// Deletes a file or a folder tree, read-only entries included.
void removeTree(const std::wstring& path);
std::string readBytes(const std::wstring& path);
void writeBytes(const std::wstring& path, const std::string& bytes);

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // With a trailing backslash.
  const std::wstring& path() const { return path_; }
  std::vector<std::wstring> names() const { return namesIn(path_); }

 private:
  std::wstring path_;
};

}  // namespace lumisk::testing
