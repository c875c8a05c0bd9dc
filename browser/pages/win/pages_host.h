// What the favorites and the site groups need from the frame that holds them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace corvane {

struct PagesHost {
  HWND frame = nullptr;
  std::wstring appFolder;  // with a trailing backslash
  // Opens the address in a new window; false when the window table refused it (full).
  std::function<bool(const std::wstring& url)> open;
  // The current address of every page window, in window-number order.
  std::function<std::vector<std::wstring>()> addresses;
  // The active page's address box text and its window caption.
  std::function<std::wstring()> activeUrl, activeTitle;
  // A text for the status bar.
  std::function<void(const std::wstring& text)> status;
  // Opens a folder or document with the system's own program.
  std::function<bool(const std::wstring& file)> launch;

  std::wstring favoritesFolder() const { return appFolder + L"Favorites\\"; }
  std::wstring groupFolder() const { return appFolder + L"group\\"; }
};

}  // namespace corvane
