#include "guard/monitors/countdown.h"

namespace zorvix {

Countdown::Event Countdown::Tick(uint64_t nowMs, bool pointerInside) {
  if (paused_ || expired_) return Event::None;
  textVisible_ = !pointerInside;
  if (nowMs < cycleStart_) cycleStart_ = nowMs;  // a clock that went back starts the cycle again
  if (nowMs - cycleStart_ < kStepMs) return Event::None;
  cycleStart_ = nowMs - cycleStart_ >= 2 * kStepMs ? nowMs : cycleStart_ + kStepMs;
  if (!textVisible_) return Event::None;
  if (seconds_ < 2) {
    expired_ = true;
    return Event::Expired;
  }
  --seconds_;
  return Event::Stepped;
}

std::wstring Countdown::Text() const { return L"还有( " + std::to_wstring(seconds_) + L" )秒钟自动拒绝程序。"; }

bool PointerInside(int x, int y, int left, int top, int right, int bottom) {
  int dx = x - left, dy = y - top;
  return dx > 0 && dx < right - left && dy > 0 && dy < bottom - top;
}

}  // namespace zorvix
