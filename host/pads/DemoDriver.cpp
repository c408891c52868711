#include "host/pads/DemoDriver.h"

#include <stdexcept>

#include "host/HostText.h"
#include "win32/Cp932.h"

namespace lumisk::host {
namespace {

constexpr UINT kTickMs = 100;
constexpr ULONGLONG kShotWaitMs = 30000;
// The designs the tour applies, as numbered in the plug-in menu.
constexpr int32_t kFirstDesign = 1;
constexpr int32_t kSecondDesign = 2;

}  // namespace

DemoDriver* DemoDriver::active_ = nullptr;

DemoDriver::DemoDriver(Host& host, std::vector<std::unique_ptr<PadWindow>>& pads) : host_(host), pads_(pads) {
  plan();
  due_ = GetTickCount64() + steps_.front().delayMs;
  timer_ = SetTimer(nullptr, 0, kTickMs, &DemoDriver::onTimer);
  if (!timer_) throw std::runtime_error("タイマーを作成できません。");
  active_ = this;
}

DemoDriver::~DemoDriver() {
  KillTimer(nullptr, timer_);
  active_ = nullptr;
}

PadWindow* DemoDriver::pad(std::size_t index) const {
  return index < pads_.size() && pads_[index]->handle() ? pads_[index].get() : nullptr;
}

void DemoDriver::postKey(UINT key) {
  // The menu's own loop takes keys from the thread's queue, whichever window they are posted to.
  if (PadWindow* first = pad(0)) {
    PostMessageW(first->handle(), WM_KEYDOWN, key, 1);
    PostMessageW(first->handle(), WM_KEYUP, key, 0xC0000001);
  }
}

bool DemoDriver::shot(const std::string& name) {
  const ULONGLONG now = GetTickCount64();
  if (waitingSince_ == 0) {
    waitingSince_ = now;
    host_.transcript().line("demo: shot " + name);
  }
  const std::wstring done = toWide(currentFolder() + "\\shot-" + name + ".done");
  if (GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES && now - waitingSince_ < kShotWaitMs) return false;
  waitingSince_ = 0;
  return true;
}

void DemoDriver::plan() {
  auto designs = [this] {
    // Items 1..m are designs, then a separator and three commands.
    const std::size_t items = host_.menu().size();
    return items >= 5 ? items - 5 : 0;
  };
  // Applies design `design` (1-based) to pad `index` through the plug-in menu, as a person would, and
  // lays the pads out again: they change size.
  auto apply = [this, designs](std::size_t index, int32_t design) {
    PadWindow* p = pad(index);
    if (p && designs() >= static_cast<std::size_t>(design)) p->click(design);
    arrangeWindows(pads_);
    return true;
  };
  steps_ = {
      {1000, [this] { arrangeWindows(pads_); return true; }},
      {300, [this] {
         if (PadWindow* first = pad(0)) PostMessageW(first->handle(), PadWindow::kShowMenuMessage, 0, 0);
         return true;
       }},
      {500, [this] { postKey(VK_DOWN); return true; }},
      {300, [this] { postKey(VK_RIGHT); return true; }},
      {300, [this] { postKey(VK_DOWN); postKey(VK_DOWN); return true; }},
      {700, [this] { return shot("1-menu"); }},
      {0, [] { EndMenu(); return true; }},
      {500, [apply] { return apply(0, kFirstDesign); }},
      {800, [this] { return shot("2-first-design"); }},
      {300, [apply] { return apply(1, kSecondDesign); }},
      {800, [this] { return shot("3-second-design"); }},
      {300, [this] {
         if (PadWindow* first = pad(0)) first->setHidden(true);
         arrangeWindows(pads_);
         return true;
       }},
      {800, [this] { return shot("4-hidden"); }},
      {300, [this] {
         const auto items = static_cast<int32_t>(host_.menu().size());
         if (PadWindow* first = pad(0); first && items >= 5) first->click(items - 1);  // the editor is the last item
         return true;
       }},
      {1500, [this] { return shot("5-editor"); }},
      {300, [this] {
         for (auto& p : pads_)
           if (p->handle()) DestroyWindow(p->handle());
         return true;
       }},
  };
}

void CALLBACK DemoDriver::onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
  try {
    if (active_) active_->tick();
  } catch (...) {
    // The demo goes on with its next step.
  }
}

void DemoDriver::tick() {
  if (busy_ || next_ >= steps_.size() || GetTickCount64() < due_) return;
  busy_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{busy_};
  if (!steps_[next_].action()) return;
  if (++next_ < steps_.size()) due_ = GetTickCount64() + steps_[next_].delayMs;
}

}  // namespace lumisk::host
