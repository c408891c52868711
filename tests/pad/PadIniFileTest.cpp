// The host's own INI file on a real file system: what the windowed host reads at start and replaces at
// the end, and what it must leave alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/pads/PadIniFile.h"
#include "win32/Cp932.h"

namespace lumisk::host {
namespace {

// A folder of its own under the temporary folder, its name holding 表 (95 5C), removed with its files.
class Folder {
 public:
  Folder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"lumisk-pads-表-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~Folder() {
    for (const std::wstring& name : files()) DeleteFileW((path_ + L"\\" + name).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  std::wstring file(const wchar_t* name) const { return path_ + L"\\" + name; }
  std::string cp932(const wchar_t* name) const { return toCp932(file(name)).value(); }
  std::vector<std::wstring> files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

 private:
  std::wstring path_;
};

void write(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::optional<std::string> read(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  return bytes;
}

// The pads of a board that has been used: every pad changed and one hidden.
PadBoard usedBoard() {
  PadBoard board;
  for (std::size_t p = 0; p < board.pads().size(); ++p) {
    board.pads()[p].values[21] = std::to_string(5 + p);  // Cols
    board.pads()[p].values[13] = "255";                   // BackColor
  }
  board.pads()[1].values[23] = "C:\\壁紙\\表紙.bmp";
  board.pads()[2].hidden = true;
  return board;
}

void expectSame(const PadBoard& a, const PadBoard& b) {
  for (std::size_t p = 0; p < a.pads().size(); ++p) {
    EXPECT_EQ(a.pads()[p].values, b.pads()[p].values) << "pad " << p + 1;
    EXPECT_EQ(a.pads()[p].hidden, b.pads()[p].hidden) << "pad " << p + 1;
  }
}

TEST(PadIniFileTest, PadsComeBackFromTheFileTheLastRunWrote) {
  const Folder folder;
  const PadBoard start;
  {
    PadIniFile first(folder.cp932(L"orbiqa-sim.ini"));
    PadBoard board;
    EXPECT_NE(first.load(board).find("none yet"), std::string::npos);
    expectSame(board, start);
    EXPECT_NE(first.save(usedBoard()).find("written"), std::string::npos);
  }
  PadIniFile second(folder.cp932(L"orbiqa-sim.ini"));
  PadBoard board;
  EXPECT_NE(second.load(board).find("0 values refused"), std::string::npos);
  expectSame(board, usedBoard());
  // Replaced in place: no new file of its own is left beside it.
  EXPECT_EQ(second.save(board).find("not"), std::string::npos);
  EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"orbiqa-sim.ini"});
}

TEST(PadIniFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
  const Folder folder;
  const std::wstring path = folder.file(L"orbiqa-sim.ini");
  const PadBoard start;
  // Held open by another program that shares it with nobody.
  write(path, "[Pad1]\r\nCols=9\r\n");
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PadIniFile locked(toCp932(path).value());
  PadBoard board;
  EXPECT_NE(locked.load(board).find("left alone"), std::string::npos);
  CloseHandle(held);
  expectSame(board, start);
  EXPECT_NE(locked.save(usedBoard()).find("not written"), std::string::npos);
  EXPECT_EQ(read(path), "[Pad1]\r\nCols=9\r\n");

  // Bytes no INI file holds: the INI object would stop at the NUL and lose the rest on writing.
  const std::string binary("[Pad1]\r\nCols=9\r\n\0[Pad2]\r\nCols=8\r\n", 32);
  write(path, binary);
  PadIniFile garbled(toCp932(path).value());
  PadBoard fresh;
  EXPECT_NE(garbled.load(fresh).find("left alone"), std::string::npos);
  expectSame(fresh, start);
  EXPECT_NE(garbled.save(usedBoard()).find("not written"), std::string::npos);
  EXPECT_EQ(read(path), binary);

  // Never loaded, never written.
  PadIniFile unloaded(toCp932(folder.file(L"other.ini")).value());
  EXPECT_NE(unloaded.save(usedBoard()).find("not written"), std::string::npos);
  EXPECT_FALSE(read(folder.file(L"other.ini")));
}

TEST(PadIniFileTest, EverythingElseTheFileHoldsStays) {
  const Folder folder;
  const std::wstring path = folder.file(L"orbiqa-sim.ini");
  write(path, "[Window]\r\nLeft=10\r\n[Pad2]\r\nNote=mine\r\nCols=abc\r\n");
  PadIniFile file(toCp932(path).value());
  PadBoard board;
  EXPECT_NE(file.load(board).find("1 values refused"), std::string::npos);
  EXPECT_NE(file.save(usedBoard()).find("written"), std::string::npos);
  const std::string bytes = read(path).value();
  EXPECT_NE(bytes.find("[Window]\r\nLeft=10\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Note=mine\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("[Pad3]\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("Cols=abc"), std::string::npos) << bytes;
}

}  // namespace
}  // namespace lumisk::host
