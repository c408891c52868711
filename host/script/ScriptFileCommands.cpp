// Files and transcripts: the folders and files a script sets up (made, copied, written, generated,
// held locked or as a virus scanner holds them), and the checks of what the plug-in wrote (compared,
// held against a template, printed).
#include <algorithm>
#include <stdexcept>

#include "host/HostFiles.h"
#include "host/HostText.h"
#include "host/script/ScriptCommands.h"

namespace lumisk::host::commands {
namespace {

// What `file` and `golden` write: each line in code page 932, ending in CR LF.
std::string cp932Lines(const std::vector<std::string>& utf8Lines) {
  std::string bytes;
  for (const std::string& line : utf8Lines) {
    auto converted = cp932FromUtf8(line);
    if (!converted) throw std::runtime_error("no code page 932 form: " + line);
    bytes += *converted;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace

// ---- Setting up ------------------------------------------------------------------------------------

void makeFolder(ScriptSession& session, ScriptArgs args) {
  if (!CreateDirectoryW(session.path(args[0]).c_str(), nullptr)) session.fail("cannot make the folder");
}

void copyFile(ScriptSession& session, ScriptArgs args) {
  if (!CopyFileW(session.path(args[0]).c_str(), session.path(args[1]).c_str(), FALSE)) session.fail("cannot copy");
}

void deleteFile(ScriptSession& session, ScriptArgs args) {
  if (!DeleteFileW(session.path(args[0]).c_str())) session.fail("cannot delete");
}

void exists(ScriptSession& session, ScriptArgs args) {
  const bool absent = GetFileAttributesW(session.path(args[0]).c_str()) == INVALID_FILE_ATTRIBUTES;
  session.transcript().line(absent ? "absent" : "exists");
}

void lock(ScriptSession& session, ScriptArgs args) {
  const std::string& file = args[0];
  const std::wstring name = session.path(file);
  // No sharing at all: nobody else may read or write the file while it is held.
  UniqueHandle handle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) return session.fail("cannot lock " + session.text(file));
  session.hold(name, std::move(handle));
}

void holdFile(ScriptSession& session, ScriptArgs args) {
  const std::string& file = args[0];
  const std::wstring name = session.path(file);
  const int32_t ms = number(args[1]);
  if (ms < 0) throw std::runtime_error("hold takes a time of 0 or more milliseconds");
  // Others may read and write it, not delete or replace it: a virus scanner's or an indexer's hold.
  UniqueHandle handle(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) return session.fail("cannot hold " + session.text(file));
  session.hold(name, std::move(handle), ms == 0 ? std::nullopt : std::optional<DWORD>(static_cast<DWORD>(ms)));
}

void unlock(ScriptSession& session, ScriptArgs args) {
  if (!session.release(session.path(args[0]))) session.fail("not locked: " + session.text(args[0]));
}

// The lines after the command, up to "end-file", are the file's content.
void writeFile(ScriptSession& session, ScriptArgs args) {
  std::vector<std::string> content;
  for (;;) {
    std::optional<std::string> line = session.takeLine();
    if (!line) throw std::runtime_error("file without end-file");
    if (!line->empty() && line->back() == '\r') line->pop_back();
    if (*line == "end-file") break;
    content.push_back(session.expanded(*line));
  }
  if (!writeBytes(session.path(args[0]), cp932Lines(content))) session.fail("cannot write the file");
}

// Laid out exactly as the plug-in writes its INI file, so that a start and an end give it back unchanged.
// The values vary from design to design; -1 (unset) is never among them: unset values have no line.
void generateIni(ScriptSession& session, ScriptArgs args) {
  const int count = number(args[1]);
  std::string ini =
      "[Main]\r\nLeft=10\r\nTop=20\r\nWidth=500\r\nHeight=400\r\nCol0Width=140\r\nCol1Width=80\r\nHintHelp=1\r\n"
      "ImportDir=C:\\デザイン\\\r\nExportDir=C:\\デザイン\\出力\\\r\n\r\n";
  for (int i = 0; i < count; ++i) {
    const std::string section = std::to_string(i);  // "[" + a temporary string sets off a false -Wrestrict in GCC 12
    ini += "[" + section + "]\r\nName=デザイン" + std::to_string(i + 1) + "\r\n";
    for (int k = 0; k < kIntKeyCount; ++k) {
      if ((i + k) % 7 == 0) continue;
      int32_t value = (i * 37 + k * 101) % 100000;
      if ((i + k) % 11 == 0) value = -value - 2;
      ini += std::string(keyName(k)) + "=" + std::to_string(value) + "\r\n";
    }
    if (i % 3 == 1) ini += "WallPaper=\r\n";
    if (i % 3 == 2) ini += "WallPaper=C:\\壁紙\\表" + std::to_string(i) + ".bmp\r\n";
    ini += "\r\n";
  }
  if (!writeBytes(session.path(args[0]), ini)) session.fail("cannot write the file");
}

// ---- Checking what the plug-in wrote --------------------------------------------------------------

void compare(ScriptSession& session, ScriptArgs args) {
  const std::string& a = args[0];
  const std::string& b = args[1];
  const auto first = readBytes(session.path(a));
  const auto second = readBytes(session.path(b));
  if (!first || !second) return session.fail(std::string("cannot read ") + (first ? b : a));
  if (*first == *second) {
    session.transcript().line("same");
    return;
  }
  const auto [mismatch, other] = std::mismatch(first->begin(), first->end(), second->begin(), second->end());
  session.fail("differ: " + std::to_string(first->size()) + " and " + std::to_string(second->size()) +
               " bytes, first difference at byte " + std::to_string(mismatch - first->begin()));
}

void golden(ScriptSession& session, ScriptArgs args) {
  const std::string& file = args[0];
  const std::string& templateFile = args[1];
  const auto actual = readBytes(session.path(file));
  const auto pattern = readBytes(session.path(templateFile));
  if (!actual || !pattern) return session.fail(std::string("cannot read ") + (actual ? templateFile : file));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < pattern->size()) {
    std::size_t end = pattern->find('\n', start);
    if (end == std::string::npos) end = pattern->size();
    std::string line = pattern->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(session.expanded(line));
    start = end + 1;
  }
  const std::string expected = cp932Lines(lines);
  if (expected == *actual) {
    session.transcript().line("as expected");
    return;
  }
  // The first line that differs, both ways, is what a person needs to see.
  std::size_t at = 0;
  while (at < expected.size() && at < actual->size() && expected[at] == (*actual)[at]) ++at;
  const std::size_t lineStart = std::min(expected.rfind('\n', at == 0 ? 0 : at - 1) + 1, at);
  auto lineAt = [lineStart](const std::string& bytes) {
    if (lineStart >= bytes.size()) return std::string("<end of file>");
    return bytes.substr(lineStart, bytes.find('\n', lineStart) - lineStart);
  };
  session.fail("differs at byte " + std::to_string(at) + ": expected " + Transcript::quoted(lineAt(expected)) +
               ", found " + Transcript::quoted(lineAt(*actual)));
}

void print(ScriptSession& session, ScriptArgs args) {
  const auto bytes = readBytes(session.path(args[0]));
  if (!bytes) return session.fail("cannot read " + session.text(args[0]));
  session.transcript().line("file:");
  std::size_t start = 0;
  while (start < bytes->size()) {
    const std::size_t end = bytes->find("\r\n", start);
    if (end == std::string::npos) {
      session.transcript().line("  | " + bytes->substr(start) + " (no CR LF)");
      break;
    }
    session.transcript().line("  | " + bytes->substr(start, end - start));
    start = end + 2;
  }
}

}  // namespace lumisk::host::commands
