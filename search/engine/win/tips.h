// Tool tips of a window whose texts change while it is open.
#pragma once
#include <windows.h>

#include <set>
#include <string>

namespace sercavo {

class Tips {
 public:
  // One tip window for owner; it goes with owner.
  void Create(HWND owner);
  void Set(HWND control, const std::wstring& text);
  std::wstring Text(HWND control) const;

 private:
  HWND owner_ = nullptr, tip_ = nullptr;
  std::set<HWND> known_;
};

}  // namespace sercavo
