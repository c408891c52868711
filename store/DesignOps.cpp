#include "store/DesignOps.h"

#include <array>
#include <cstring>

#include "store/Cp932Path.h"
#include "store/DesignFile.h"
#include "store/IniFile.h"
#include "store/IntegerText.h"

namespace lumisk {
namespace {

std::string trimControlsAndBlanks(const std::string& text) {
  std::size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
  return text.substr(first, last - first);
}

// The host's answer up to its first NUL, and never beyond the buffer even when it wrote no NUL.
std::string padAnswer(const std::array<char, kPadInitBufferSize>& buffer) {
  const void* nul = std::memchr(buffer.data(), '\0', buffer.size());
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data())
                                 : buffer.size();
  return std::string(buffer.data(), length);
}

}  // namespace

bool namePrompt(Prompts& prompts, const std::string& prompt, std::string& name, const DesignList& list) {
  const auto answer = prompts.askName(prompt, name);
  if (!answer) return false;
  name = trimControlsAndBlanks(*answer);
  if (name.empty()) {
    prompts.inform("デザインの名前が不正です。処理を中断します。");
    return false;
  }
  if (list.containsName(name)) {
    prompts.inform("デザインの名前が重複しています。処理を中断します。");
    return false;
  }
  return true;
}

bool capture(DesignList& list, const HostApi& host, int32_t pad, Prompts& prompts) {
  std::string name = uniqueName("デザイン", false, list);
  if (!namePrompt(prompts, "メニューに表示するデザイン名を入力して下さい。", name, list)) return false;

  TDesign d = TDesign::unset();
  std::array<char, kPadInitBufferSize> buffer{};
  auto query = [&](std::string_view key) -> std::optional<std::string> {
    buffer.fill('\0');
    const std::string keyText(key);
    if (!host.getPadInit || host.getPadInit(pad, keyText.c_str(), buffer.data(), kPadInitBufferSize) == 0)
      return std::nullopt;
    return padAnswer(buffer);
  };
  for (int k = 0; k < kIntKeyCount; ++k)
    if (const auto text = query(intKeyName(k))) d.intValues[k] = parseInteger(*text, kUnsetInt);
  for (int t = 0; t < kTextKeyCount; ++t)
    if (const auto text = query(textKeyName(t))) d.textValues[t] = *text;

  list.append(std::move(name), std::move(d));
  return true;
}

bool apply(const DesignList& list, std::size_t index, const HostApi& host, int32_t pad) {
  const TDesign& d = list.design(index);
  bool accepted = true;
  auto send = [&](std::string_view key, const std::string& value) {
    const std::string keyText(key);
    if (!host.setPadInit || host.setPadInit(pad, keyText.c_str(), value.c_str()) == 0) accepted = false;
  };
  for (int k = 0; k < kIntKeyCount; ++k)
    if (d.intValues[k] != kUnsetInt) send(intKeyName(k), formatInteger(d.intValues[k]));
  for (int t = 0; t < kTextKeyCount; ++t)
    if (d.textValues[t] != kUnsetText) send(textKeyName(t), d.textValues[t]);
  return accepted;
}

bool importDesigns(DesignList& list, std::string& importDir, Prompts& prompts, FileAccess& files,
                   const Collation& collation) {
  const auto path = prompts.chooseDesignFile(importDir);
  if (!path) return false;
  const std::size_t first = list.count();
  {
    const TMemIniFile file(*path, files, collation);
    loadDesigns(file, list);
  }
  prompts.inform(quotedNames(list, first) + "をインポートしました。");
  importDir = std::string(folderPart(*path));
  return true;
}

}  // namespace lumisk
