// Input for the scripted host as a person gives it: keys and mouse movements go through SendInput into
// the thread's input queue, so they reach the plug-in's windows only through the host's own plain
// message loop (and whatever hooks the plug-in installed there), exactly as typing and dragging would.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace lumisk::host {

// Visible top-level windows of the calling thread.
std::vector<HWND> visibleTopLevelWindows();
// The visible top-level window of this thread with exactly this caption; nullptr when there is none.
HWND findTopLevelWindow(const std::wstring& caption);
// The windows of class `windowClass` (case does not matter: "ListBox", "Button") inside `window`, in the
// order they were created.
std::vector<HWND> childWindowsOf(HWND window, const wchar_t* windowClass);

// One key press, written like "ctrl+r", "alt+s", "shift+down", "tab", "f2", "del", "enter", "a" or "7".
// Returns false (nothing sent) when the text names no key.
bool sendKey(std::string_view key);
// Presses the left button at `from`, moves there in steps to `to` and releases it (screen points).
void sendDrag(POINT from, POINT to);

// The plain message loop of a host, for `milliseconds`: it knows nothing of the plug-in's windows.
void runMessageLoop(int milliseconds);
// Waits for input sent with sendKey or sendDrag to arrive, then runs the message loop until none is
// left, so that what the input starts (a dialog that the dialog watcher answers, a menu command) has
// finished when it returns.
void takeInput();
// Long enough for the loop to take the input and for the dialog watcher to answer what it opens.
constexpr int kInputPauseMs = 150;

}  // namespace lumisk::host
