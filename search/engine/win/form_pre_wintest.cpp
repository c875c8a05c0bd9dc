#include <exdisp.h>
#include <gtest/gtest.h>
#include <mshtmdid.h>
#include <servprov.h>
#include <urlmon.h>
#include <wmp.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/clipboard.h"
#include "common/win/pump.h"
#include "search/engine/search_state.h"
#include "search/engine/win/testing/keys.h"
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

TEST_F(Preview, TextFilesShowTheirStartWhateverTheirSize) {
  std::string big = "head of big\r\n" + std::string(5u << 20, 'a');
  t_.Write(L"big.txt", big);
  // A file of more than a gigabyte: its start is shown, not an empty box, and it is not read whole.
  std::wstring huge = t_.Write(L"huge.txt", "head of huge\r\nmore");
  HANDLE h = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 1200ll << 20;
  bool grown = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  ASSERT_TRUE(grown);
  ASSERT_TRUE(main_.Search(t_.wpath()));
  for (const wchar_t* name : {L"big.txt", L"huge.txt"}) {
    Click(name);
    HWND edit = FindWindowExW(pre().hwnd(), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    std::wstring shown = common::ui::WindowText(edit);
    EXPECT_EQ(shown.substr(0, 5), L"head ") << name;
    EXPECT_LE(shown.size(), 300000u) << name;  // the start, not the file
  }
}

TEST_F(Preview, PicturesAreDecodedAtTheSizeOfTheirBox) {
  t_.Write(L"large.bmp", Bitmap(1600, 1200));
  ASSERT_TRUE(main_.Search(t_.wpath()));
  SetWindowPos(pre().hwnd(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  Click(L"large.bmp");
  ASSERT_EQ(pre().viewer(), Viewer::Picture);
  const PicturePane* picture = pre().picture();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Natural().cx, 1600);
  EXPECT_EQ(picture->Natural().cy, 1200);
  auto decodedFitsTheBox = [&] {
    RECT r = pre().PictureRect();
    SIZE d = picture->Decoded();
    EXPECT_EQ(d.cx, r.right - r.left);
    EXPECT_EQ(d.cy, r.bottom - r.top);
    EXPECT_LT(d.cx, 1600);
  };
  decodedFitsTheBox();
  // A larger window: the picture is decoded again, for the larger box.
  LONG before = picture->Decoded().cx;
  SetWindowPos(pre().hwnd(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  decodedFitsTheBox();
  EXPECT_GT(picture->Decoded().cx, before);
  // A small picture is decoded as it is.
  Click(L"small.bmp");
  EXPECT_EQ(picture->Decoded().cx, 200);
  EXPECT_EQ(picture->Decoded().cy, 100);
}

// The preview's own viewers, as the program makes them.
class SystemPreview : public testing::Test {
 protected:
  SystemPreview() : main_(SystemPreviewPanes()) {}
  void SetUp() override {
    State() = SearchState{};
    State().shieldFlags = {L"0", L"0", L"0", L"0", L"0"};
    ASSERT_TRUE(main_.Load(L""));
    t_.Write(L"page.htm", "<script>alert(1)</script><img src='http://example.invalid/a.png'>");
    State().searchKeyword = L".";
    ASSERT_TRUE(main_.Search(t_.wpath()));
  }
  void TearDown() override { main_.Destroy(); }
  void Click(const std::wstring& name) {
    for (size_t i = 0; i < main_.lvw().model().size(); ++i)
      if (main_.lvw().model().Name(i) == name)
        return main_.ListMouseUp(FrmMain::kLeftButton, FrmMain::kCtrlDown, int(i));
    ADD_FAILURE() << "no row " << name;
  }
  // The control the preview window hosts for that kind of file; null when the system has none.
  template <typename T>
  T* Control(Viewer v, REFIID iid) {
    PreviewPane* pane = main_.formPre().PaneOf(v);
    IUnknown* hosted = pane ? pane->Hosted() : nullptr;
    if (!hosted) return nullptr;
    T* t = nullptr;
    hosted->QueryInterface(iid, reinterpret_cast<void**>(&t));
    hosted->Release();
    return t;
  }
  suite::TempDir t_;
  FrmMain main_;
};

// What the page pane's control is given, asked of the control the preview window really hosts: its
// own settings, and the answers of the site it was put on.
TEST_F(SystemPreview, ThePageControlRunsNothingAndFetchesNothing) {
  Click(L"page.htm");
  IWebBrowser2* web = Control<IWebBrowser2>(Viewer::Web, IID_IWebBrowser2);
  if (!web) GTEST_SKIP() << "no HTML control on this system";
  VARIANT_BOOL silent = VARIANT_FALSE, offline = VARIANT_FALSE;
  EXPECT_EQ(web->get_Silent(&silent), S_OK);
  EXPECT_EQ(web->get_Offline(&offline), S_OK);
  EXPECT_EQ(silent, VARIANT_TRUE);
  EXPECT_EQ(offline, VARIANT_TRUE);
  web->Release();
  IOleObject* object = Control<IOleObject>(Viewer::Web, IID_IOleObject);
  ASSERT_NE(object, nullptr);
  IOleClientSite* site = nullptr;
  ASSERT_TRUE(SUCCEEDED(object->GetClientSite(&site)) && site);
  object->Release();
  IDispatch* ambient = nullptr;
  ASSERT_TRUE(SUCCEEDED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))));
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS none{};
  ASSERT_EQ(ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr),
            S_OK);
  ambient->Release();
  for (LONG flag : {DLCTL_NO_SCRIPTS, DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS, DLCTL_NO_JAVA, DLCTL_SILENT,
                    DLCTL_NO_BEHAVIORS, DLCTL_FORCEOFFLINE})
    EXPECT_TRUE(v.lVal & flag) << std::hex << flag;
  for (LONG flag : {DLCTL_DLIMAGES, DLCTL_VIDEOS, DLCTL_BGSOUNDS}) EXPECT_FALSE(v.lVal & flag) << std::hex << flag;
  // The site's security manager, which the control asks before its own.
  IServiceProvider* services = nullptr;
  ASSERT_TRUE(SUCCEEDED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))));
  IInternetSecurityManager* security = nullptr;
  ASSERT_EQ(services->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                   reinterpret_cast<void**>(&security)),
            S_OK);
  for (DWORD action : {DWORD(URLACTION_SCRIPT_RUN), DWORD(URLACTION_ACTIVEX_RUN), DWORD(URLACTION_JAVA_PERMISSIONS),
                       DWORD(URLACTION_SHELL_FILE_DOWNLOAD), DWORD(URLACTION_HTML_META_REFRESH),
                       DWORD(URLACTION_DOWNLOAD_SIGNED_ACTIVEX), DWORD(URLACTION_BEHAVIOR_RUN)}) {
    DWORD policy = URLPOLICY_ALLOW;
    EXPECT_EQ(security->ProcessUrlAction(L"file:///C:/page.htm", action, reinterpret_cast<BYTE*>(&policy),
                                         sizeof policy, nullptr, 0, 0, 0),
              S_FALSE)
        << std::hex << action;
    EXPECT_EQ(policy, DWORD(URLPOLICY_DISALLOW)) << std::hex << action;
  }
  DWORD policy = 0;
  EXPECT_EQ(security->ProcessUrlAction(L"file:///C:/page.htm", URLACTION_FEATURE_MIN, reinterpret_cast<BYTE*>(&policy),
                                       sizeof policy, nullptr, 0, 0, 0),
            INET_E_DEFAULT_ACTION);
  security->Release();
  services->Release();
  site->Release();
}

// Told when it is made, before it plays anything (the page preview makes the window and its viewers).
TEST_F(SystemPreview, TheMediaPlayerIsToldNotToOpenAddresses) {
  Click(L"page.htm");
  IWMPCore* player = Control<IWMPCore>(Viewer::Media, __uuidof(IWMPCore));
  if (!player) GTEST_SKIP() << "no media player on this system";
  IWMPSettings* settings = nullptr;
  ASSERT_EQ(player->get_settings(&settings), S_OK);
  player->Release();
  ASSERT_NE(settings, nullptr);
  VARIANT_BOOL invokeURLs = VARIANT_TRUE, errorDialogs = VARIANT_TRUE;
  EXPECT_EQ(settings->get_invokeURLs(&invokeURLs), S_OK);
  EXPECT_EQ(settings->get_enableErrorDialogs(&errorDialogs), S_OK);
  EXPECT_EQ(invokeURLs, VARIANT_FALSE);
  EXPECT_EQ(errorDialogs, VARIANT_FALSE);
  settings->Release();
}

}  // namespace
}  // namespace sercavo
