// Linked into a Wine test program whose tests send mouse input or count on their window being the
// active one: the program runs on a desktop of its own.
//
// The processes of one Wine prefix share a desktop: its cursor, its window stacking and its input.
// Another test program running beside this one moves the cursor between two of our synthetic events,
// or puts its window over ours, and a click lands somewhere else. It also turns a mouse event that
// repeats the cursor position into a real move: Wine drops such a move only while the cursor's
// position and window are what the previous event left; delivered, it reaches DragDetect, which under
// Wine compares the move's client coordinates with a rectangle around the screen point it was given,
// so that any move at all starts a drag and a plain click is taken for one. On a desktop of its own
// the program sees only its own input.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class PrivateDesktop final : public ::testing::Environment {
 public:
  // Before the first test: the thread has no window and no hook yet, which SetThreadDesktop requires.
  void SetUp() override {
    const std::wstring name = L"lumisk-test-" + std::to_wstring(GetCurrentProcessId());
    desktop_ = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(desktop_, nullptr) << "CreateDesktopW failed: " << GetLastError();
    ASSERT_TRUE(SetThreadDesktop(desktop_)) << "SetThreadDesktop failed: " << GetLastError();
  }
  // The desktop stays the thread's until the process ends: windows still being destroyed need it.

 private:
  HDESK desktop_ = nullptr;
};

const ::testing::Environment* const kPrivateDesktop = ::testing::AddGlobalTestEnvironment(new PrivateDesktop);

}  // namespace
