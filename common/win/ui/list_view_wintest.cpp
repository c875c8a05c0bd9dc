#include "common/win/ui/list_view.h"

#include <gtest/gtest.h>

TEST(ListView, ImagesOutliveTheControlThatShowedThem) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  common::ui::ImageList images;
  images.Create(16, 16);
  ASSERT_EQ(images.Add(L"app", LoadIconW(nullptr, IDI_APPLICATION)), 0);
  {
    common::ui::ListView lvw;
    lvw.Create(parent, 1);
    lvw.SetSmallImages(images);
    DestroyWindow(lvw.hwnd());
  }
  // A control that freed the list on its way out would leave a dead handle here, freed again later.
  EXPECT_EQ(ImageList_GetImageCount(images.handle()), 1);
  DestroyWindow(parent);
}
