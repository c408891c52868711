#include "store/StdFileAccess.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lumisk {

std::optional<std::string> StdFileAccess::readAll(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw cannotOpenError(path);
  // One read of the known size: growing the string byte by byte costs time and twice the memory.
  std::string bytes;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  // Whatever the size said, read on to the end: the file may have grown.
  if (!in.bad()) bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) throw cannotOpenError(path);
  return bytes;
}

void StdFileAccess::replaceAll(const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".lumisk-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw cannotCreateError(path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      throw writeError();
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    throw writeError();
  }
}

std::optional<std::string> StdFileAccess::tempFolder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec || folder.empty()) return std::nullopt;
  return (folder / "").string();
}

}  // namespace lumisk
