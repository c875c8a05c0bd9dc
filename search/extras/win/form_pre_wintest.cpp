#include <exdisp.h>
#include <gtest/gtest.h>
#include <mshtmdid.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/clipboard.h"
#include "common/win/pump.h"
#include "search/engine/search_state.h"
#include "search/engine/testing/keys.h"
#include "search/engine/win/form_search.h"
#include "search/engine/win/frm_main.h"
#include "search/extras/win/form_pre.h"
#include "search/extras/win/ole_container.h"

namespace sercavo {
namespace {

// A viewer the system may lack (the media player, the HTML control), recording what it was asked.
class Recorder : public PreviewPane {
 public:
  explicit Recorder(std::vector<std::wstring>& log, std::wstring name) : log_(log), name_(std::move(name)) {}
  bool Create(HWND parent) override {
    if (!IsWindow(window_))
      window_ = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
    return window_ != nullptr;
  }
  void Open(const std::wstring& path) override { log_.push_back(name_ + L" " + path); }
  void Clear() override {}
  void Place(const RECT& r) override { MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE); }
  void Show(bool on) override { ShowWindow(window_, on ? SW_SHOW : SW_HIDE); }
  void Detach() override { window_ = nullptr; }

 private:
  std::vector<std::wstring>& log_;
  std::wstring name_;
  HWND window_ = nullptr;
};

// A picture file of w x h pixels.
std::string Bitmap(int w, int h) {
  int row = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER f{};
  BITMAPINFOHEADER i{sizeof i, w, h, 1, 24, BI_RGB};
  f.bfType = 0x4D42;
  f.bfOffBits = sizeof f + sizeof i;
  f.bfSize = DWORD(f.bfOffBits + row * h);
  std::string bytes(reinterpret_cast<const char*>(&f), sizeof f);
  bytes.append(reinterpret_cast<const char*>(&i), sizeof i);
  bytes.append(size_t(row * h), '\x7F');
  return bytes;
}

class Preview : public testing::Test {
 protected:
  Preview()
      : main_(PreviewPanes{std::make_unique<Recorder>(log_, L"media"), std::make_unique<Recorder>(log_, L"web"),
                           TextPreviewPane(), PicturePreviewPane()}) {}
  void SetUp() override {
    State() = SearchState{};
    State().shieldFlags = {L"0", L"0", L"0", L"0", L"0"};
    ASSERT_TRUE(main_.Load(L""));
    t_.Write(L"song.MP3", "x");
    t_.Write(L"movie.rm", "x");
    t_.Write(L"x.ind", "x");
    t_.Write(L"page.htm", "<script>alert(1)</script>");
    t_.Write(L"clip.mov", "x");
    t_.Write(L"wide.bmp", Bitmap(800, 600));
    t_.Write(L"tall.bmp", Bitmap(600, 800));
    t_.Write(L"small.bmp", Bitmap(200, 100));
    t_.Write(L"readme.txt", "\xD6\xD0\xCE\xC4 text\nnext line");
    State().searchKeyword = L".";
    ASSERT_TRUE(main_.Search(t_.wpath()));
  }
  void TearDown() override { main_.Destroy(); }
  // Clicks the row of that file name as the user would (Ctrl held: shift state 2).
  void Click(const std::wstring& name, int shift = 2) {
    for (size_t i = 0; i < main_.lvw().model().size(); ++i)
      if (main_.lvw().model().Name(i) == name) return main_.ListMouseUp(1, shift, int(i));
    ADD_FAILURE() << "no row " << name;
  }
  FormPre& pre() { return main_.formPre(); }
  std::wstring Caption() { return common::ui::WindowText(pre().hwnd()); }
  SIZE Inner() {
    RECT r;
    GetClientRect(pre().hwnd(), &r);
    return {r.right, r.bottom};
  }

  suite::TempDir t_;
  std::vector<std::wstring> log_;
  FrmMain main_;
};

TEST_F(Preview, EachFileGoesToTheViewerOfItsWholeExtension) {
  Click(L"song.MP3");
  EXPECT_EQ(pre().viewer(), Viewer::Media);
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_.back(), L"media " + t_.wpath() + L"\\song.MP3");
  EXPECT_EQ(Caption(), L"窗口预览 - song.MP3");
  EXPECT_TRUE(pre().previewShown());
  EXPECT_TRUE(IsWindowVisible(pre().hwnd()));
  EXPECT_TRUE(GetWindowLongW(pre().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(common::GetClipboardText(), t_.wpath() + L"\\song.MP3");
  Click(L"movie.rm");
  EXPECT_EQ(log_.back(), L"media " + t_.wpath() + L"\\movie.rm");
  HWND shown = pre().hwnd();
  Click(L"page.htm");
  EXPECT_EQ(pre().viewer(), Viewer::Web);
  EXPECT_EQ(pre().hwnd(), shown);  // reused, not made again
  EXPECT_EQ(log_.back(), L"web " + t_.wpath() + L"\\page.htm");
  // A name matching no whole list entry closes the preview.
  size_t opened = log_.size();
  Click(L"x.ind");
  EXPECT_EQ(pre().hwnd(), nullptr);
  EXPECT_FALSE(pre().previewShown());
  EXPECT_EQ(log_.size(), opened);
  Click(L"clip.mov");  // the default program: no preview window
  EXPECT_EQ(pre().hwnd(), nullptr);
}

TEST_F(Preview, ShiftClickNeverPreviewsAndTheMenuItemTurnsItOff) {
  Click(L"song.MP3", 1);
  EXPECT_EQ(pre().hwnd(), nullptr);
  Click(L"song.MP3", 0);
  EXPECT_NE(pre().hwnd(), nullptr);
  pre().Close();
  SendMessageW(main_.hwnd(), WM_COMMAND, 431, 0);  // "启动窗口预览功能" loses its check mark
  EXPECT_FALSE(main_.fileView());
  Click(L"song.MP3");
  EXPECT_EQ(pre().hwnd(), nullptr);
}

TEST_F(Preview, TextFilesAreShownAsTextNotRunAsPages) {
  SetFocus(main_.lvw().hwnd());
  Click(L"readme.txt");
  EXPECT_EQ(GetFocus(), main_.lvw().hwnd());  // Up and Down go on moving through the rows
  EXPECT_EQ(pre().viewer(), Viewer::Text);
  HWND edit = FindWindowExW(pre().hwnd(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(common::ui::WindowText(edit), L"中文 text\r\nnext line");
  EXPECT_TRUE(log_.empty());
}

TEST_F(Preview, PicturesAreFittedAndCentredAtEverySize) {
  Click(L"wide.bmp");
  ASSERT_EQ(pre().viewer(), Viewer::Picture);
  auto expect = [&](int w, int h) {
    SIZE in = Inner();
    Box b = FitPicture(w, h, in.cx, in.cy);
    RECT r = pre().PictureRect();
    EXPECT_EQ(r.left, b.left);
    EXPECT_EQ(r.top, b.top);
    EXPECT_EQ(r.right - r.left, b.width);
    EXPECT_EQ(r.bottom - r.top, b.height);
  };
  expect(800, 600);
  int width = pre().PictureRect().right - pre().PictureRect().left;
  EXPECT_GT(width, 0);    // the picture was read
  EXPECT_LT(width, 800);  // and narrowed to the window
  // The window's size changes: the picture follows.
  SetWindowPos(pre().hwnd(), nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER);
  expect(800, 600);
  Click(L"tall.bmp");
  expect(600, 800);
  SetWindowPos(pre().hwnd(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
  Click(L"small.bmp");
  expect(200, 100);
  RECT r = pre().PictureRect();
  EXPECT_EQ(r.right - r.left, 200);  // never enlarged
}

TEST_F(Preview, ClosingByHandOrEscThenASearchStart) {
  Click(L"song.MP3");
  SendMessageW(pre().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(pre().previewShown());
  Click(L"song.MP3");
  EXPECT_TRUE(pre().previewShown());
  EXPECT_TRUE(IsWindowVisible(pre().hwnd()));
  test_support::PostKey(pre().hwnd(), VK_ESCAPE);  // Esc closes it as well
  common::PumpMessages();
  EXPECT_FALSE(pre().previewShown());
  Click(L"song.MP3");
  // Starting a search closes it.
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  SetWindowTextW(form.comb(0), L"song");
  SetWindowTextW(form.comb(1), t_.wpath().c_str());
  suite::MsgBoxAnswers answers;
  form.Command1Click();
  EXPECT_EQ(pre().hwnd(), nullptr);
  EXPECT_FALSE(pre().previewShown());
}

TEST(PreviewPage, TheControlIsToldNoScriptsNoControlsNoDownloads) {
  HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  OleContainer host;
  if (!host.Create(parent, CLSID_WebBrowser, PreviewDownloadControl())) {
    DestroyWindow(parent);
    GTEST_SKIP() << "no HTML control on this system";
  }
  IOleObject* object = host.Get<IOleObject>(IID_IOleObject);
  ASSERT_NE(object, nullptr);
  IOleClientSite* site = nullptr;
  ASSERT_TRUE(SUCCEEDED(object->GetClientSite(&site)) && site);
  IDispatch* ambient = nullptr;
  ASSERT_TRUE(SUCCEEDED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))));
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS none{};
  ASSERT_EQ(ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr),
            S_OK);
  for (LONG flag : {DLCTL_NO_SCRIPTS, DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS, DLCTL_NO_JAVA, DLCTL_SILENT})
    EXPECT_TRUE(v.lVal & flag) << std::hex << flag;
  ambient->Release();
  site->Release();
  object->Release();
  host.Destroy();
  DestroyWindow(parent);
}

}  // namespace
}  // namespace sercavo
