// The ask dialog's countdown: 20 steps of 1.2 s spent with the pointer outside the dialog, then the
// dialog denies by itself. Driven by the dialog's 200 ms timer, timed by the clock it is given.
#pragma once
#include <cstdint>
#include <string>

namespace zorvix {

class Countdown {
 public:
  static constexpr int kSeconds = 20;
  static constexpr uint64_t kStepMs = 1200;
  static constexpr int kBarTwipsPerSecond = 110;

  explicit Countdown(uint64_t nowMs) : cycleStart_(nowMs) {}
  enum class Event { None, Stepped, Expired };
  // One timer tick. The pointer over the dialog hides the text and holds the count. A step is taken
  // once per 1.2 s at most, however late the tick: a stalled program does not deny in a burst.
  Event Tick(uint64_t nowMs, bool pointerInside);
  // "暂停时间": stops for good.
  void Pause() { paused_ = true; }

  bool paused() const { return paused_; }
  bool expired() const { return expired_; }
  bool textVisible() const { return textVisible_; }
  int secondsLeft() const { return seconds_; }
  // "还有( n )秒钟自动拒绝程序。"
  std::wstring Text() const;
  int BarTwips() const { return seconds_ * kBarTwipsPerSecond; }

 private:
  uint64_t cycleStart_;
  int seconds_ = kSeconds;
  bool textVisible_ = true;
  bool paused_ = false;
  bool expired_ = false;
};

// Whether a point lies strictly inside a window's rectangle (screen pixels).
bool PointerInside(int x, int y, int left, int top, int right, int bottom);

}  // namespace zorvix
