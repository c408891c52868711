// fuzz_menu: what the plug-in writes into the host's memory, and the design names a person types.
//
// Input: a flags byte (bit 0: the name box is cancelled, bit 1: the editor is open), four bytes of the
// buffer size handed to OQXGetName / OQXGetExplanation, then texts separated by 0xFF (a byte code page 932
// never uses): the answer typed into the name box, then up to 40 design names.
//
// Properties:
// - OQXGetMenu writes its 128-byte record and not one byte around it; the caption is NUL-terminated,
//   shortened only at a character boundary, and everything after it is zero; items it does not serve
//   leave the record untouched;
// - OQXGetName / OQXGetExplanation never write beyond the host's buffer and always terminate the text;
// - the name box's answer is accepted exactly when it is non-empty after trimming bytes of 0x20 and
//   below on both ends and no entry bears it; an accepted name carries no such byte at either end.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/ReferenceModel.h"
#include "plugin/PlugFunc.h"
#include "store/DesignOps.h"
#include "tests/support/Fakes.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define LUMISK_FUZZ_POISON 1
#endif
#endif

namespace lumisk::fuzz {
namespace {

constexpr std::size_t kMaxDesigns = 40;
constexpr std::size_t kGuard = 64;
constexpr unsigned char kUntouched = 0xA5;
const AsciiCollation kCollation;

int32_t hostMenus(const char*) { return 1; }
int32_t hostUnused() { return 0; }

void bindHost(PlugFunc& plugin) {
  plugin.binding().bind(true, [](const char* name) -> void* {
    if (std::string_view(name) == "OQAChangePluginMenus") return reinterpret_cast<void*>(&hostMenus);
    return reinterpret_cast<void*>(&hostUnused);  // never called by the menu
  });
}

// The menu record between two guard zones. Under ASan the guards are poisoned, so a stray write stops
// the run at the faulty store; otherwise they are compared with their fill afterwards.
class GuardedRecord {
 public:
  GuardedRecord() {
#ifdef LUMISK_FUZZ_POISON
    ASAN_POISON_MEMORY_REGION(bytes_, kGuard);
    ASAN_POISON_MEMORY_REGION(bytes_ + kGuard + sizeof(TPluginMenuItem), kGuard);
#else
    std::memset(bytes_, kUntouched, sizeof bytes_);
#endif
  }
  ~GuardedRecord() {
#ifdef LUMISK_FUZZ_POISON
    ASAN_UNPOISON_MEMORY_REGION(bytes_, sizeof bytes_);
#endif
  }
  GuardedRecord(const GuardedRecord&) = delete;
  GuardedRecord& operator=(const GuardedRecord&) = delete;

  TPluginMenuItem* record() { return reinterpret_cast<TPluginMenuItem*>(bytes_ + kGuard); }
  const unsigned char* recordBytes() const { return bytes_ + kGuard; }
  void fill() { std::memset(bytes_ + kGuard, kUntouched, sizeof(TPluginMenuItem)); }
  void checkGuards() const {
#ifndef LUMISK_FUZZ_POISON
    for (std::size_t i = 0; i < kGuard; ++i)
      require(bytes_[i] == kUntouched && bytes_[kGuard + sizeof(TPluginMenuItem) + i] == kUntouched,
              "menu record written outside its 128 bytes");
#endif
  }

 private:
  alignas(8) unsigned char bytes_[kGuard + sizeof(TPluginMenuItem) + kGuard];
};

void requireCaption(const GuardedRecord& guarded, std::string_view full, const char* what) {
  const unsigned char* record = guarded.recordBytes();
  const std::size_t kept = refCut(full, sizeof(TPluginMenuItem::Caption) - 1);
  require(std::memcmp(record, full.data(), kept) == 0, what, full);
  for (std::size_t i = kept; i < sizeof(TPluginMenuItem); ++i)
    require(record[i] == 0, "caption not terminated or record not zero after it", full);
}

void requireUntouched(const GuardedRecord& guarded, int32_t item) {
  for (std::size_t i = 0; i < sizeof(TPluginMenuItem); ++i)
    require(guarded.recordBytes()[i] == kUntouched, "an item not served wrote the record", std::to_string(item));
}

void checkMenu(const std::vector<std::string>& names, bool editorOpen) {
  testing::MemoryFiles files;
  testing::ScriptedPrompts prompts;
  PlugFunc plugin(files, kCollation, prompts);
  bindHost(plugin);
  plugin.setInitFile("C:\\p\\lumisk.ini");
  require(plugin.beginPlugin() != 0, "plug-in did not start");
  for (const auto& name : names) plugin.designs().append(name, TDesign::unset());
  plugin.setEditorOpen(editorOpen);

  const std::size_t m = std::min<std::size_t>(names.size(), 30);
  std::vector<int32_t> items = {INT_MIN, -1, INT_MAX};
  for (std::size_t n = 0; n <= m + 5; ++n) items.push_back(static_cast<int32_t>(n));

  GuardedRecord guarded;
  for (const int32_t item : items) {
    guarded.fill();
    const int32_t result = plugin.getMenu(item, guarded.record());
    guarded.checkGuards();
    const std::size_t n = static_cast<std::size_t>(item);
    std::string expected;
    bool served = item >= 0 && (editorOpen ? n == 0 : n <= m + 4);
    if (served) {
      if (editorOpen) expected = "Lumisk[詳細編集中]";
      else if (n == 0) expected = "Lumisk(&D)";
      else if (n <= m) expected = (n <= 9 ? "&" : "") + std::to_string(n) + ". " + names[n - 1];
      else if (n == m + 1) expected = "-";
      else if (n == m + 2) expected = "現デザインの登録(&R)";
      else if (n == m + 3) expected = "デザインのインポート(&I)";
      else expected = "デザインの詳細編集(&E)...";
    }
    require(result == (served ? -1 : 0), "menu item result", std::to_string(item));
    if (served)
      requireCaption(guarded, expected, "menu caption is not the expected text, cut at a character");
    else
      requireUntouched(guarded, item);
  }
}

// The host's buffer is exactly as large as the size it passes (its low 16 bits): ASan's heap red zone
// right behind it catches a write of even one byte too many.
void checkHostText(std::string_view text, int32_t size, bool explanation) {
  const std::size_t capacity = static_cast<uint16_t>(size);
  const auto buffer = std::make_unique<char[]>(capacity);
  testing::MemoryFiles files;
  testing::ScriptedPrompts prompts;
  const PlugFunc plugin(files, kCollation, prompts);
  const int32_t result = explanation ? plugin.getExplanation(buffer.get(), size) : plugin.getName(buffer.get(), size);
  require(result == -1, "name or explanation did not answer true");
  if (capacity == 0) return;
  const std::size_t kept = refCut(text, capacity - 1);
  require(std::memcmp(buffer.get(), text.data(), kept) == 0 && buffer[kept] == '\0',
          "host text is not the text cut at a character and terminated", std::to_string(size));
}

void checkNamePrompt(const std::string& answer, bool cancel, const std::vector<std::string>& names) {
  DesignList list;
  for (const auto& name : names) list.append(name, TDesign::unset());
  testing::ScriptedPrompts prompts;
  prompts.names.push_back(cancel ? std::nullopt : std::optional<std::string>(answer));
  const std::string suggestion = "デザイン1";
  std::string name = suggestion;
  const bool accepted = namePrompt(prompts, "prompt", name, list);

  if (cancel) {
    require(!accepted && name == suggestion && prompts.informed.empty(), "a cancelled name box changed something");
    return;
  }
  const std::string trimmed = refTrim(answer);
  require(name == trimmed, "the answer was not trimmed of bytes 0x20 and below", name);
  bool clash = false;
  for (const auto& existing : names) clash = clash || existing == trimmed;
  if (trimmed.empty()) {
    require(!accepted && prompts.informed.size() == 1 &&
                prompts.informed[0] == "デザインの名前が不正です。処理を中断します。",
            "an empty name was not refused as invalid", answer);
  } else if (clash) {
    require(!accepted && prompts.informed.size() == 1 &&
                prompts.informed[0] == "デザインの名前が重複しています。処理を中断します。",
            "a clashing name was not refused as a duplicate", answer);
  } else {
    require(accepted && prompts.informed.empty(), "a valid name was refused", answer);
    require(static_cast<unsigned char>(name.front()) > 0x20 && static_cast<unsigned char>(name.back()) > 0x20,
            "an accepted name starts or ends with a blank or control byte", name);
  }
}

}  // namespace
}  // namespace lumisk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace lumisk::fuzz;
  if (size < 5) return 0;
  const bool cancel = (data[0] & 1) != 0;
  const bool editorOpen = (data[0] & 2) != 0;
  int32_t textSize;
  std::memcpy(&textSize, data + 1, sizeof textSize);

  std::vector<std::string> texts(1);
  for (std::size_t i = 5; i < size; ++i) {
    if (data[i] == 0xFF) {
      if (texts.size() > kMaxDesigns) break;
      texts.emplace_back();
    } else {
      texts.back() += static_cast<char>(data[i]);
    }
  }
  const std::string answer = texts.front();
  const std::vector<std::string> names(texts.begin() + 1, texts.end());

  checkNamePrompt(answer, cancel, names);
  checkMenu(names, editorOpen);
  checkHostText(lumisk::kPluginName, textSize, false);
  checkHostText(lumisk::PlugFunc::explanation(), textSize, true);
  return 0;
}
