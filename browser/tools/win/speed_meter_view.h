// The frame's speed meters: the boxes PicDown and PicUp, each painting its bar (Label12, Label13) and its
// text (Label14, Label15), and the one-second timer Timer2 that samples the interface table. The frame
// makes and places the boxes; the meter paints them and ticks on them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "browser/tools/speed_meter.h"
#include "browser/tools/win/ip_helper.h"

namespace corvane {

inline constexpr wchar_t kDownCaption[] = L"宽带下载速度";
inline constexpr wchar_t kUpCaption[] = L"宽带上传速度";

// One box: a bar as wide as its KB share of 500 KB (clipped by the box) under a centred text.
class MeterBox {
 public:
  MeterBox() = default;
  MeterBox(const MeterBox&) = delete;
  MeterBox& operator=(const MeterBox&) = delete;
  ~MeterBox() { Detach(); }
  // Takes over the painting of an existing window and shows `text` in it.
  bool Attach(HWND box, const std::wstring& text);
  void Detach();
  HWND hwnd() const { return hwnd_; }
  void Set(int64_t kb, const std::wstring& text);
  const std::wstring& text() const { return text_; }
  int64_t kb() const { return kb_; }
  // Width of the bar in pixels for the box as it is now (not clipped).
  int64_t BarPixels() const;

  std::function<void()> onTimer;  // the box's timer ticked
  std::function<void()> onGone;   // the box is being destroyed (after it was let go)

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  void Paint(HDC dc);
  HWND hwnd_ = nullptr;
  std::wstring text_;
  int64_t kb_ = 0;
};

class SpeedMeterView {
 public:
  // The interface table as the meter reads it; tests give one of their own.
  using TableSource = std::function<const CInterfaces&()>;
  explicit SpeedMeterView(CIpHelper::Table table = CIpHelper::Table::kBest) : ipHelper_(table) {}
  explicit SpeedMeterView(TableSource source) : source_(std::move(source)) {}
  // Paints the two boxes; with `timer`, Timer2 ticks every second on the download box.
  bool Attach(HWND picDown, HWND picUp, bool timer = true);
  // The frame's meters: a view that lives as long as the download box (reading the system's table unless
  // a source is given).
  static SpeedMeterView* Start(HWND picDown, HWND picUp, TableSource source = {});
  HWND PicDown() const { return picDown_.hwnd(); }
  HWND PicUp() const { return picUp_.hwnd(); }
  const MeterBox& down() const { return picDown_; }
  const MeterBox& up() const { return picUp_; }
  // One tick of Timer2: reads the table and shows the amounts of the last second.
  SpeedMeter::Reading Timer2();

 private:
  CIpHelper ipHelper_;
  TableSource source_;
  SpeedMeter meter_;
  MeterBox picDown_, picUp_;
};

}  // namespace corvane
