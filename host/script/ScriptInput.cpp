#include "host/script/ScriptInput.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "win32/Ui.h"

namespace lumisk::host {
namespace {

BOOL CALLBACK collectVisible(HWND window, LPARAM data) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

struct NamedKey {
  std::string_view name;
  WORD vk;
};
constexpr NamedKey kNamedKeys[] = {
    {"tab", VK_TAB},     {"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"space", VK_SPACE}, {"del", VK_DELETE},
    {"back", VK_BACK},   {"up", VK_UP},        {"down", VK_DOWN},  {"left", VK_LEFT},   {"right", VK_RIGHT},
    {"home", VK_HOME},   {"end", VK_END},      {"pgup", VK_PRIOR}, {"pgdn", VK_NEXT},   {"f1", VK_F1},
    {"f2", VK_F2},       {"f5", VK_F5},        {"f10", VK_F10},
};

std::optional<WORD> virtualKey(std::string_view name) {
  if (name.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(name[0]);
    if (std::isalpha(c)) return static_cast<WORD>(std::toupper(c));
    if (std::isdigit(c)) return static_cast<WORD>(c);
    return std::nullopt;
  }
  for (const NamedKey& key : kNamedKeys)
    if (key.name == name) return key.vk;
  return std::nullopt;
}

INPUT keyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT mouseInput(POINT screen, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = std::max(GetSystemMetrics(SM_CXSCREEN), 1), height = std::max(GetSystemMetrics(SM_CYSCREEN), 1);
  input.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width / 2) / width);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height / 2) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

}  // namespace

std::vector<HWND> visibleTopLevelWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &collectVisible, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND findTopLevelWindow(const std::wstring& caption) {
  for (HWND window : visibleTopLevelWindows())
    if (windowText(window) == caption) return window;
  return nullptr;
}

std::vector<HWND> childWindowsOf(HWND window, const wchar_t* windowClass) {
  std::vector<HWND> children;
  EnumChildWindows(window, &collectChild, reinterpret_cast<LPARAM>(&children));
  std::erase_if(children, [windowClass](HWND child) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    return lstrcmpiW(name, windowClass) != 0;
  });
  return children;
}

bool sendKey(std::string_view key) {
  std::vector<WORD> modifiers;
  for (;;) {
    const std::size_t plus = key.find('+');
    if (plus == std::string_view::npos || plus + 1 == key.size()) break;
    const std::string_view modifier = key.substr(0, plus);
    if (modifier == "ctrl") modifiers.push_back(VK_CONTROL);
    else if (modifier == "alt") modifiers.push_back(VK_MENU);
    else if (modifier == "shift") modifiers.push_back(VK_SHIFT);
    else return false;
    key.remove_prefix(plus + 1);
  }
  const std::optional<WORD> vk = virtualKey(key);
  if (!vk) return false;
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(keyInput(modifier, false));
  inputs.push_back(keyInput(*vk, false));
  inputs.push_back(keyInput(*vk, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(keyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return true;
}

void sendDrag(POINT from, POINT to) {
  std::vector<INPUT> inputs{mouseInput(from, 0), mouseInput(from, MOUSEEVENTF_LEFTDOWN)};
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step)
    inputs.push_back(mouseInput(
        POINT{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps}, 0));
  inputs.push_back(mouseInput(to, MOUSEEVENTF_LEFTUP));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void runMessageLoop(int milliseconds) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= until) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
  }
}

// Input sent with SendInput reaches the queue through the window system, later on a busy machine: wait
// for it to arrive, then run the loop until none is left.
void takeInput() {
  constexpr DWORD kArrivalMs = 3000;
  constexpr ULONGLONG kLimitMs = 10000;
  MsgWaitForMultipleObjectsEx(0, nullptr, kArrivalMs, QS_INPUT, MWMO_INPUTAVAILABLE);
  const ULONGLONG until = GetTickCount64() + kLimitMs;
  do {
    runMessageLoop(kInputPauseMs);
  } while (HIWORD(GetQueueStatus(QS_INPUT)) != 0 && GetTickCount64() < until);
}

}  // namespace lumisk::host
