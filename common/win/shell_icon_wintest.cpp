#include "common/win/shell_icon.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <vector>

#include "common/win/system.h"

namespace {

// An icon as it shows: drawn on white and on black, which brings out its transparent parts too.
std::vector<DWORD> Drawn(HICON icon, int size) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  std::vector<DWORD> pixels;
  for (int brush : {WHITE_BRUSH, BLACK_BRUSH}) {
    RECT r{0, 0, size, size};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(brush)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    auto* p = static_cast<const DWORD*>(bits);
    pixels.insert(pixels.end(), p, p + size * size);
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return pixels;
}

// The first icon group of a program's resources at the given size, loaded as a resource.
common::Icon FirstIconOf(const std::wstring& program, int size) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return nullptr;
  std::wstring first;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
        auto& id = *reinterpret_cast<std::wstring*>(found);
        id = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  HICON icon = first.empty() ? nullptr
                             : static_cast<HICON>(LoadImageW(module, first.c_str(), IMAGE_ICON, size, size, 0));
  FreeLibrary(module);
  return common::Icon(icon);
}

}  // namespace

TEST(ShellIcon, AProgramShowsTheFirstIconOfItsFile) {
  std::wstring notepad = common::GetSystemFolder() + L"\\notepad.exe";
  for (bool small : {true, false}) {
    int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    common::Icon ours = common::GetFileIcon(notepad, small), resource = FirstIconOf(notepad, size);
    ASSERT_TRUE(ours);
    ASSERT_TRUE(resource);
    EXPECT_EQ(Drawn(ours.get(), size), Drawn(resource.get(), size)) << (small ? "small" : "large");
  }
}

TEST(ShellIcon, AProgramWithoutIconsShowsTheProgramIconAndAMissingOneNone) {
  // This test program carries no icon of its own.
  ASSERT_EQ(ExtractIconExW(common::ExePath().c_str(), -1, nullptr, nullptr, 0), 0u);
  EXPECT_TRUE(common::GetFileIcon(common::ExePath(), true));
  EXPECT_TRUE(common::GetFileIcon(common::ExePath(), false));
  EXPECT_FALSE(common::GetFileIcon(common::AppFolder() + L"no such program.exe", true));
}
