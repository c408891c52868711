// The host's pads and their 24 appearance settings, with the host's own rules for reading and changing
// them through the host API. Values are held as the texts the host API carries (code page 932): integers
// in plain decimal, `WallPaper` a path or empty.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Design.h"

namespace lumisk::host {

struct Pad {
  int32_t id = 0;          // the pad identifier the host API uses
  int32_t clickValue = 0;  // what a plug-in menu click on this pad passes; OQAGetPadID maps it to `id`
  std::string name;        // shown in the pad's title bar
  std::string group;       // the name of the button group the pad shows: on its drag bar and hidden form
  std::array<std::string, kKeyCount> values;  // in key catalogue order
  bool hidden = false;     // shrunk to its hidden form (HideColor, HideSize, HideGroupName)

  // The integer setting at `keyIndex` (0..22); `fallback` when its text is no number.
  int32_t integer(int keyIndex, int32_t fallback = 0) const;
  const std::string& wallPaper() const { return values[kIntKeyCount]; }
};

// Why a request through the host API failed.
enum class PadOutcome { Done, UnknownPad, UnknownKey, Invalid, Refused, Failed, BufferTooSmall };

class PadBoard {
 public:
  // The three pads the host starts with, each looking different.
  PadBoard();

  std::vector<Pad>& pads() { return pads_; }
  const std::vector<Pad>& pads() const { return pads_; }
  Pad* byId(int32_t id);
  // 1-based, as a person counts them; nullptr when there is no such pad.
  Pad* byNumber(int number);
  // The pad identifier for a click value; 0 when no pad has that value.
  int32_t idForValue(int32_t value) const;

  // Catalogue index of a setting name, compared exactly as the host spells it; -1 when unknown.
  static int keyIndex(std::string_view key);
  // Whether the pad can take `value` for the setting at `keyIndex`: integer settings take plain decimal
  // (an optional "-", digits, no leading zeros, within 32 bits), the pad's sizes at least 1; `WallPaper`
  // takes any text.
  static bool acceptable(int keyIndex, std::string_view value);

  // What OQAGetPadInit answers: the value, or why there is none.
  PadOutcome get(int32_t pad, std::string_view key, std::string& value) const;
  // What OQASetPadInit does; on Done the pad holds the new value.
  PadOutcome set(int32_t pad, std::string_view key, std::string_view value);

  // Faults a test asks for, per setting: refuse every change, fail every query, or answer a given text.
  void setRefused(int keyIndex, bool refused) { faults_[index(keyIndex)].refuse = refused; }
  void setFailedGet(int keyIndex, bool failed) { faults_[index(keyIndex)].failGet = failed; }
  void setFakeGet(int keyIndex, std::optional<std::string> text) { faults_[index(keyIndex)].fakeGet = std::move(text); }
  void clearFaults(int keyIndex) { faults_[index(keyIndex)] = Fault{}; }

 private:
  struct Fault {
    bool refuse = false;
    bool failGet = false;
    std::optional<std::string> fakeGet;
  };
  static std::size_t index(int keyIndex);
  const Pad* findId(int32_t id) const;

  std::vector<Pad> pads_;
  std::array<Fault, kKeyCount> faults_{};
};

const char* outcomeText(PadOutcome outcome);

}  // namespace lumisk::host
