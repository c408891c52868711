// The catch-all that stands between the host and the plug-in: whatever goes wrong inside an export
// becomes a message and a safe result, never an exception in the host's frames.
#pragma once

#include <cstdint>
#include <exception>
#include <new>

namespace lumisk {

inline constexpr const char* kOutOfMemoryText = "メモリが不足しています。";
inline constexpr const char* kUnexpectedText = "予期しないエラーが発生しました。";

// Runs `body`; on any exception calls `report` with the message and returns `failResult`. Serves the
// exports and the window procedures alike.
template <typename Result, typename Body, typename Report>
Result guardedCall(Result failResult, Body&& body, Report&& report) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    report(kOutOfMemoryText);
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report(kUnexpectedText);
  }
  return failResult;
}

}  // namespace lumisk
