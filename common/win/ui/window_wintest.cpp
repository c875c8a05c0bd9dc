#include "common/win/ui/window.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {
// A fixed button and a box stretched over the width by the window's own layout.
class Probe : public common::ui::Window {
 public:
  HWND fixed = nullptr, stretched = nullptr;
  int oldDpi = 0, newDpi = 0;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SIZE && stretched) {
      RECT rc;
      GetClientRect(hwnd(), &rc);
      common::ui::MoveTwips(stretched, 100, 900, common::ui::PixelsToTwips(hwnd(), rc.right) - 200, 330);
    }
    return Default(msg, wp, lp);
  }
  void OnDpiChanged(int from, int to) override {
    oldDpi = from;
    newDpi = to;
  }
};

RECT InParent(HWND c) {
  RECT r;
  GetWindowRect(c, &r);
  MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int FontHeight(HFONT f) {
  LOGFONTW lf{};
  GetObjectW(f, sizeof lf, &lf);
  return std::abs(lf.lfHeight);
}
}  // namespace

TEST(WindowDpi, AMoveToAnotherDpiRescalesFontsControlsAndLayout) {
  Probe w;
  ASSERT_TRUE(w.Create(L"CommonDpiProbe", L"", WS_OVERLAPPEDWINDOW, 0, 10, 10, 500, 300));
  int base = common::ui::DpiOf(w.hwnd());
  w.fixed = common::ui::CreateControl(w.hwnd(), L"BUTTON", L"确定", BS_PUSHBUTTON, 1);
  common::ui::MoveTwips(w.fixed, 120, 240, 1200, 400);
  w.stretched = common::ui::CreateControl(w.hwnd(), L"EDIT", L"", 0, 2);
  HFONT own = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  HWND bold = common::ui::CreateControl(w.hwnd(), L"STATIC", L"", 0, 3);
  HWND list = common::ui::CreateControl(w.hwnd(), WC_LISTVIEWW, L"", LVS_REPORT, 5);
  LVCOLUMNW column{LVCF_WIDTH};
  for (int width : {100, 60}) {
    column.cx = width;
    ListView_InsertColumn(list, 9, &column);
  }
  SendMessageW(bold, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
  int dpi = base * 3 / 2;
  RECT suggested{30, 40, 30 + 750, 40 + 450};
  SendMessageW(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(w.oldDpi, base);
  EXPECT_EQ(w.newDpi, dpi);
  EXPECT_EQ(common::ui::DpiOf(w.fixed), dpi);  // children follow their top-level window
  EXPECT_EQ(common::ui::Twips(w.hwnd(), 1440), dpi);
  RECT r;
  GetWindowRect(w.hwnd(), &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.right - r.left, 750);
  // The fixed control keeps its place in inches; the laid-out one follows the new client width.
  RECT b = InParent(w.fixed);
  EXPECT_NEAR(b.left, common::ui::Twips(w.hwnd(), 120), 1);
  EXPECT_NEAR(b.bottom - b.top, common::ui::Twips(w.hwnd(), 400), 1);
  RECT client, e = InParent(w.stretched);
  GetClientRect(w.hwnd(), &client);
  EXPECT_NEAR(e.right - e.left, client.right - common::ui::Twips(w.hwnd(), 200), 2);
  EXPECT_NEAR(e.top, common::ui::Twips(w.hwnd(), 900), 1);
  // The UI font is made for the new DPI; a font of the window's own stays.
  HFONT now = reinterpret_cast<HFONT>(SendMessageW(w.fixed, WM_GETFONT, 0, 0));
  EXPECT_EQ(now, common::ui::UiFont(dpi));
  EXPECT_NEAR(FontHeight(now), FontHeight(common::ui::UiFont(base)) * 3 / 2, 1);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(bold, WM_GETFONT, 0, 0)), own);
  EXPECT_EQ(common::ui::UiFontOf(bold), common::ui::UiFont(dpi)) << "the font of code that draws its own text";
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), 150) << "list columns keep their width in inches";
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 90);
  // A control made afterwards takes the font of the window's DPI.
  HWND later = common::ui::CreateControl(w.hwnd(), L"BUTTON", L"", 0, 4);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(later, WM_GETFONT, 0, 0)), common::ui::UiFont(dpi));
  w.Destroy();
  DeleteObject(own);
}
