// The frame's speed meters: the boxes PicDown and PicUp, each painting its bar (Label12, Label13) and its
// text (Label14, Label15), and the one-second timer Timer2 that samples the interface table.
#pragma once
#include <functional>
#include <string>

#include "browser/tools/speed_meter.h"
#include "browser/tools/win/ip_helper.h"
#include "common/win/ui/window.h"

namespace corvane {

inline constexpr wchar_t kDownCaption[] = L"宽带下载速度";
inline constexpr wchar_t kUpCaption[] = L"宽带上传速度";

// One box: a bar as wide as its KB share of 500 KB (clipped by the box) under a centred text.
class MeterBox : public common::ui::Window {
 public:
  bool Create(HWND parent, const std::wstring& text);
  void Set(int64_t kb, const std::wstring& text);
  void StartTimer(UINT_PTR id, UINT ms, std::function<void()> onTimer);
  const std::wstring& text() const { return text_; }
  int64_t kb() const { return kb_; }
  // Width of the bar in pixels for the box as it is now (not clipped).
  int64_t BarPixels() const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  std::wstring text_;
  int64_t kb_ = 0;
  std::function<void()> onTimer_;
};

class SpeedMeterView {
 public:
  explicit SpeedMeterView(CIpHelper::Table table = CIpHelper::Table::kBest) : ipHelper_(table) {}
  // Creates both boxes in the frame; with `timer`, Timer2 starts ticking every second.
  bool Create(HWND frame, bool timer = true);
  HWND PicDown() const { return picDown_.hwnd(); }
  HWND PicUp() const { return picUp_.hwnd(); }
  const MeterBox& down() const { return picDown_; }
  const MeterBox& up() const { return picUp_; }
  CIpHelper& ipHelper() { return ipHelper_; }
  // One tick of Timer2: reads the table and shows the amounts of the last second.
  SpeedMeter::Reading Timer2();

 private:
  CIpHelper ipHelper_;
  SpeedMeter meter_;
  MeterBox picDown_, picUp_;
};

}  // namespace corvane
