// Binding of the host API: the 25 functions that the host executable exports by name.
// Four are called (see store/HostApi.h); the others are looked up only, so that a host lacking any of
// them is known not to be the one the plug-in was made for.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "store/HostApi.h"

namespace lumisk {

inline constexpr std::size_t kHostFunctionCount = 25;

// The names in binding order.
extern const std::array<std::string_view, kHostFunctionCount> kHostFunctionNames;

// Finds one exported function by name; null when the host has none of that name.
using SymbolLookup = std::function<void*(const char* name)>;

class OQAPI {
 public:
  // Looks up all 25 names in order, each whatever the earlier ones gave. A missing module (`moduleFound`
  // false) binds nothing.
  void bind(bool moduleFound, const SymbolLookup& lookup);

  bool supported() const { return supported_; }
  void* entry(std::size_t index) const { return entries_.at(index); }
  // The called functions; all null unless supported().
  const HostApi& api() const { return api_; }

 private:
  std::array<void*, kHostFunctionCount> entries_{};
  bool supported_ = false;
  HostApi api_{};
};

}  // namespace lumisk
