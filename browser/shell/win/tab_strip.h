// The strip of tabs: per window its background (Labback), caption (Lab) and progress bar (Labup), drawn
// in one window, and the close picture (Image1) at the right end.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "browser/shell/window_table.h"
#include "common/win/ui/window.h"

namespace corvane {

// The labels of one window number.
struct TabLabels {
  std::wstring caption;  // Lab
  std::wstring tip;      // the tab's tool tip
  int left = 0, width = 0;   // Labback and Lab, twips
  int upWidth = 0;           // Labup, twips
  bool upVisible = false;
  bool active = false;
};

constexpr COLORREF kTabActiveBack = 0xFFFFFF, kTabOtherBack = 0x000000;
constexpr COLORREF kTabActiveText = 0x000000, kTabOtherText = 0xFFFFFF;
constexpr COLORREF kUpActive = 0x00FFFF, kUpOther = 0x00C000;
constexpr int kTabStripTwips = 330;
inline constexpr wchar_t kImage1Tip[] = L"左键单击：关闭 | 右键单击：全部关闭";

class TabStrip : public common::ui::Window {
 public:
  struct Handlers {
    std::function<void(int number, int button)> mouseDown;  // button: 1 left, 2 right
    std::function<void(int number)> dblClick;
    std::function<void(int button)> image1;
  };
  bool Create(HWND parent, Handlers handlers);
  std::array<TabLabels, kMaxWindows>& labels() { return labels_; }
  // The numbers shown, in order; call after changing labels.
  void Show(const std::vector<int>& order);
  // Repaints one tab.
  void Refresh(int number);
  // Window number under a point (client pixels), or -1.
  int HitTab(POINT p) const;
  RECT Image1Rect() const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  RECT TabRect(int number) const;
  int Px(int twips) const;
  std::wstring TipAt(POINT p) const;
  void Paint();
  void MouseDown(POINT p, int button);
  void UpdateTips();

  Handlers handlers_;
  HWND tips_ = nullptr;
  std::wstring shownTip_;
  std::vector<int> order_;
  std::array<TabLabels, kMaxWindows> labels_;
};

}  // namespace corvane
