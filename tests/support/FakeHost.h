// A scripted host API for native tests: plain functions (the binding holds raw function pointers) that
// forward to the one FakeHost currently installed.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "plugin/OQAPI.h"
#include "store/HostApi.h"

namespace lumisk::testing {

class FakeHost {
 public:
  struct Call {
    std::string function;
    int32_t pad;
    std::string key;
    std::string value;
    int32_t size;  // OQAGetPadInit: the buffer size it was given
  };

  std::map<std::string, std::string> padValues;  // what OQAGetPadInit answers, per key
  std::set<std::string> refuse;                  // keys OQASetPadInit refuses
  std::vector<Call> calls;
  int32_t padForValue = 0;  // OQAGetPadID answers value + padForValue
  int32_t menusResult = 1;  // what OQAChangePluginMenus answers

  FakeHost() { current() = this; }
  ~FakeHost() { current() = nullptr; }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  HostApi api() const {
    return HostApi{true, &getPadID, &getPadInit, &setPadInit, &changePluginMenus};
  }
  std::vector<Call> callsOf(const std::string& function) const {
    std::vector<Call> out;
    for (const auto& c : calls)
      if (c.function == function) out.push_back(c);
    return out;
  }

  static FakeHost*& current() {
    static FakeHost* host = nullptr;
    return host;
  }

  static int32_t LUMISK_STDCALL getPadID(int32_t value) {
    current()->calls.push_back({"OQAGetPadID", value, "", "", 0});
    return value + current()->padForValue;
  }
  static int32_t LUMISK_STDCALL getPadInit(int32_t pad, const char* key, char* buffer, int32_t size) {
    FakeHost& h = *current();
    h.calls.push_back({"OQAGetPadInit", pad, key, "", size});
    const auto it = h.padValues.find(key);
    if (it == h.padValues.end() || size <= 0) return 0;
    const std::size_t n = std::min(it->second.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, it->second.data(), n);
    if (n < static_cast<std::size_t>(size)) buffer[n] = '\0';
    return 1;
  }
  static int32_t LUMISK_STDCALL setPadInit(int32_t pad, const char* key, const char* value) {
    FakeHost& h = *current();
    h.calls.push_back({"OQASetPadInit", pad, key, value, 0});
    return h.refuse.contains(key) ? 0 : 1;
  }
  static int32_t LUMISK_STDCALL changePluginMenus(const char* name) {
    current()->calls.push_back({"OQAChangePluginMenus", 0, name, "", 0});
    return current()->menusResult;
  }

  // Binds the four host functions the plug-in calls in these tests to this fake; every other name is
  // found too (a harmless stand-in), as in a host that exports the whole API.
  static void bindTo(OQAPI& binding) {
    binding.bind(true, [](const char* name) -> void* {
      static int standIn;
      const std::string n = name;
      if (n == "OQAGetPadID") return reinterpret_cast<void*>(&FakeHost::getPadID);
      if (n == "OQAGetPadInit") return reinterpret_cast<void*>(&FakeHost::getPadInit);
      if (n == "OQASetPadInit") return reinterpret_cast<void*>(&FakeHost::setPadInit);
      if (n == "OQAChangePluginMenus") return reinterpret_cast<void*>(&FakeHost::changePluginMenus);
      return &standIn;
    });
  }
};

}  // namespace lumisk::testing
