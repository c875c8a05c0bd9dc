#include "browser/shell/win/frm_main.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shlwapi.h>
#include <windowsx.h>

#include "browser/pages/open_pages.h"
#include "browser/pages/win/formask.h"
#include "browser/shell/win/exit_dialog.h"
#include "browser/shell/win/modal.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/ansi.h"
#include "common/win/clipboard.h"
#include "common/win/msgbox.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using common::GetSetting;
using common::SaveSetting;
using common::ui::Twips;

enum : int { kIdToolbar = 100, kIdComb, kIdCmdGo, kIdStat, kIdTvw, kTimer3 = 3 };
enum : UINT { kMsgReap = WM_APP + 10 };
constexpr int kSidePanelTwips = 2600;
constexpr wchar_t kDefaultStartSite[] = L"https://cn.bing.com/";
constexpr wchar_t kClearAsk[] = L"您确实要清除以上全部历史记录吗？   ";

void TrimWorkingSet() { SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_T(-1), SIZE_T(-1)); }

std::wstring EntryKey(int n, const wchar_t* what) { return std::to_wstring(n) + what; }
}  // namespace

FrmMain::FrmMain(FrameOptions options) : options_(std::move(options)) {
  folder_ = options_.appFolder.empty() ? common::AppFolder() : common::WithTrailingSlash(options_.appFolder);
  if (!options_.engines) options_.engines = CreateWebEngine;
}

FrmMain::~FrmMain() {
  Unload();
  Destroy();
}

bool FrmMain::Load(const std::wstring& commandLine) {
  // 1.
  unloadme = false;
  table_ = WindowTable{};
  autoScroll_ = false;
  scrollStep_ = 1;
  shi = NowDays();
  FirstRun();
  LoadClosedPages();
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  int w = std::min(GetSystemMetrics(SM_CXSCREEN), 1100), h = std::min(GetSystemMetrics(SM_CYSCREEN) - 40, 760);
  if (!Create(L"CorvaneFrmMain", kBrowserTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
              (GetSystemMetrics(SM_CXSCREEN) - w) / 2, std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2), w, h,
              nullptr, nullptr, icon))
    return false;
  CreateMenus();
  CreateControls();
  // 2.
  if (common::GetSettingNumber(kApp, L"myie", L"Pictleft") != 0) ShowWindow(pictLeft_, SW_SHOW);
  if (options_.show) ShowWindow(hwnd(), SW_SHOW);
  Layout();
  // 3. - 4.
  std::wstring line = common::Trim(common::RemoveAll(commandLine, L'"'));
  if (!line.empty()) {
    loadnewform(line);
  } else if (common::FileSize(folder_ + L"temp\\page.his") < kRestoreMinBytes) {
    std::wstring start = GetSetting(kApp, L"myie", L"Start");
    loadnewform(start.empty() ? kBlankPage : start);
  } else {
    ShowRestore();
  }
  // 5. - 6.
  for (const wchar_t* sub : {L"Favorites", L"Group", L"Temp"}) CreateDirectoryW((folder_ + sub).c_str(), nullptr);
  SHAutoComplete(textUrl_, SHACF_URLHISTORY);
  // 7. The favorites, the site groups and the interface statistics join here as they come to exist.
  BuildBlockList();
  // 8.
  ShowClosedPages();
  for (int n = 1; n <= kClosedPages; ++n)
    if (!closed_.Entry(n).url.empty())
      SendMessageW(comb_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(closed_.Entry(n).url.c_str()));
  // 9. The screen saver stays off while the browser runs.
  common::WriteRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", L"0");
  // 10.
  startwindows_ = int(common::GetSettingNumber(kApp, L"myie", L"startwindows"));
  if (common::GetSettingNumber(kApp, L"myie", L"startRadio") != 0) runtool(L"radio");
  SetTimer(hwnd(), kTimer3, 20, nullptr);
  quit_ = false;
  return true;
}

int FrmMain::Run() {
  // 11. The mouse-wheel loop: the frame's own wheel messages scroll the active page.
  MSG msg;
  running_ = true;
  while (!quit_) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    if (msg.message == WM_MOUSEWHEEL && hwnd() && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
      wchar_t cls[64] = {};
      GetClassNameW(msg.hwnd, cls, 64);
      // The page's own control scrolls by itself.
      if (wcsncmp(cls, L"Internet Explorer", 17) != 0 && wcsncmp(cls, L"Shell ", 6) != 0) {
        Wheel(GET_WHEEL_DELTA_WPARAM(msg.wParam));
        continue;
      }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  running_ = false;
  return 0;
}

void FrmMain::FirstRun() {
  std::wstring marker = folder_ + L"first.dat";
  if (common::FileSize(marker) >= 11) {
    for (const wchar_t* tool : {L"clear.exe", L"history.exe", L"PageInfo.exe", L"Processor.exe", L"radio.exe"}) {
      std::wstring p = folder_ + tool;
      DWORD a = GetFileAttributesW(p.c_str());
      if (a != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(p.c_str(), a | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    SaveSetting(kApp, L"first", L"load", L"");
    DeleteFileW(marker.c_str());
  }
  if (GetSetting(kApp, L"first", L"load").empty()) WriteDefaults();
}

void FrmMain::WriteDefaults() {
  SaveSetting(kApp, L"myie", L"Start", kDefaultStartSite);
  SaveSetting(kApp, L"myie", L"startRadio", L"0");
  SaveSetting(kApp, L"unload", L"askme", L"0");
  SaveSetting(L"RororAreze", L"rororAreze", L"RadioTop", L"1");
  SaveSetting(L"RororAreze", L"rororAreze", L"RadioIndex", L"2");
  for (const wchar_t* ocx : {L"mswinsck.ocx", L"msinet.ocx", L"comdlg32.ocx", L"MSCOMCTL.OCX"}) {
    std::wstring p = folder_ + ocx;
    // Only controls shipped beside the program are registered; there is nothing to register otherwise.
    if (common::FileExists(p)) common::StartCommand(L"regsvr32.exe  /s " + common::QuoteArg(p), SW_SHOWMINIMIZED);
  }
  common::WriteRegString(HKEY_CLASSES_ROOT, L".swf", L"", L"flashfile");
  common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\defaultIcon", L"", folder_ + L"flash.exe");
  common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\shell\\open\\command", L"",
                         common::QuoteArg(folder_ + L"flash.exe") + L" \"%1\"");
  SaveSetting(kApp, L"first", L"load", L"SoftLoad");
}

void FrmMain::CreateMenus() {
  labRight_ = CreatePopupMenu();
  struct Item { int id; const wchar_t* text; };
  for (Item it : std::initializer_list<Item>{
           {kCloseMe, L"关闭当前窗口"}, {kHome, L"至页面顶部       (Home)"}, {kEnd, L"至页面底部       (End )"},
           {0, nullptr}, {kCloseAll, L"关闭全部窗口(&C)"}, {kCloseRight, L"关闭右侧窗口"},
           {kCloseLeft, L"关闭左侧窗口"}, {0, nullptr}, {kCopyTitle, L"复制网站标题"}, {kCopyUrl, L"复制网站地址"},
           {kPage, L"全部页面联结"}, {kSource, L"源文件"}, {0, nullptr}, {kForward, L"前进"}, {kBack, L"后退"},
           {kStop, L"停止"}, {kRefresh, L"刷新"}, {0, nullptr}, {kFullScreen, L"全屏                         F11"}})
    AppendMenuW(labRight_, it.text ? MF_STRING : MF_SEPARATOR, it.id, it.text);
  cancelMenu_ = CreatePopupMenu();
  closeMenu_ = CreatePopupMenu();
  AppendMenuW(closeMenu_, MF_STRING, kCloseMe, L"关闭当前网页");
  AppendMenuW(closeMenu_, MF_STRING, kCloseAll, L"关闭全部网页");
  AppendMenuW(closeMenu_, MF_STRING, kCloseRight, L"关闭右侧网页");
  AppendMenuW(closeMenu_, MF_STRING, kCloseLeft, L"关闭左侧网页");
  AppendMenuW(closeMenu_, MF_STRING, kCloseBoth, L"关闭两侧网页");

  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kCloseMe, L"关闭当前窗口");
  AppendMenuW(file, MF_STRING, kCloseRight, L"关闭右侧窗口");
  AppendMenuW(file, MF_STRING, kCloseLeft, L"关闭左侧窗口");
  AppendMenuW(file, MF_STRING, kCloseAll, L"关闭全部窗口(&C)");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCancel, L"撤消关闭窗口");
  AppendMenuW(file, MF_STRING, kOffnet, L"脱机工作(&T)");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExit, L"退出(&X)");
  HMENU move = CreatePopupMenu();
  AppendMenuW(move, MF_STRING, kMoveCurrent, L"当前窗口");
  AppendMenuW(move, MF_STRING, kMoveAll, L"所有窗口");
  AppendMenuW(move, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(move, MF_STRING | MF_CHECKED, kSlow, L"慢速");
  AppendMenuW(move, MF_STRING, kMedium, L"中速");
  AppendMenuW(move, MF_STRING, kFast, L"高速");
  view_ = CreatePopupMenu();
  AppendMenuW(view_, MF_POPUP, reinterpret_cast<UINT_PTR>(move), L"页面自动滚屏");
  HMENU tools = CreatePopupMenu();
  AppendMenuW(tools, MF_STRING, kHistory, L"网站访问历史");
  AppendMenuW(tools, MF_STRING, kLishi, L"历史记录");
  AppendMenuW(tools, MF_STRING, kProcess, L"系统进程管理");
  AppendMenuW(tools, MF_STRING, kPage, L"全部页面联结");
  menu_ = CreateMenu();
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(view_), L"查看(&V)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"工具(&T)");
  // The tab menu also pops up over a right-clicked tab.
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(labRight_), L"标签(&L)");
  SetMenu(hwnd(), menu_);
}

void FrmMain::CreateControls() {
  using common::ui::CreateControl;
  toolbar_ = CreateControl(hwnd(), TOOLBARCLASSNAMEW, L"",
                           TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE, kIdToolbar);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
  struct Btn { int id; const wchar_t* text; BYTE style; };
  for (Btn b : {Btn{kCancel, L"恢复关闭的网页", BTNS_DROPDOWN}, Btn{kRadio, L"音乐广播电台", BTNS_BUTTON},
                Btn{kCloseMe, L"关闭当前页面", BTNS_DROPDOWN}}) {
    TBBUTTON tb{};
    tb.iBitmap = I_IMAGENONE;
    tb.idCommand = b.id;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = BYTE(b.style | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    tb.iString = reinterpret_cast<INT_PTR>(b.text);
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
  }
  picDown_ = CreateControl(hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
  picUp_ = CreateControl(hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
  comb_ = CreateControl(hwnd(), WC_COMBOBOXW, kUrlPrompt, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                        kIdComb);
  // TextUrl is the drop-down's own edit box: one address box with the closed pages' list below it.
  COMBOBOXINFO ci{sizeof ci};
  GetComboBoxInfo(comb_, &ci);
  textUrl_ = ci.hwndItem;
  cmdGo_ = CreateControl(hwnd(), L"BUTTON", L"转到", BS_PUSHBUTTON, kIdCmdGo);
  strip_.Create(hwnd(), {[this](int n, int b) { Lab_MouseDown(n, b); }, [this](int n) { Lab_DblClick(n); },
                         [this](int b) { Image1_MouseDown(b); }});
  pictLeft_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10, hwnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  label2_ = CreateControl(pictLeft_, L"STATIC", L"网址收藏夹", SS_CENTER | SS_SUNKEN, 0);
  tvw_ = CreateControl(pictLeft_, WC_TREEVIEWW, L"", TVS_HASLINES | TVS_LINESATROOT, kIdTvw, WS_EX_CLIENTEDGE);
  labLeft_ = CreateControl(hwnd(), L"STATIC", L"", SS_ETCHEDVERT, 0);
  client_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10,
                            hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  stat_.Create(hwnd(), kIdStat, {5200, 80, 1000, 80, 2600, 80, -1});
}

bool FrmMain::sidePanel() const {
  return pictLeft_ && (GetWindowLongPtrW(pictLeft_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FrmMain::Layout() {
  if (!client_) return;
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int cw = rc.right, ch = rc.bottom;
  int th = HIWORD(SendMessageW(toolbar_, TB_GETBUTTONSIZE, 0, 0)) + 4, meter = Twips(hwnd(), 1400);
  MoveWindow(toolbar_, 0, 0, std::max(0, cw - 2 * meter - 8), th, TRUE);
  MoveWindow(picDown_, cw - 2 * meter - 6, 3, meter, th - 6, TRUE);
  MoveWindow(picUp_, cw - meter - 3, 3, meter, th - 6, TRUE);
  // Address bar; the search bar joins it at the right.
  int y = th + 2, rowH = 24, goW = 60;
  int combW = std::max(40, cw - goW - 12);
  MoveWindow(comb_, 4, y, combW, 300, TRUE);
  MoveWindow(cmdGo_, 8 + combW, y, goW, rowH, TRUE);
  int stripY = y + rowH + 4, stripH = Twips(hwnd(), kTabStripTwips);
  MoveWindow(strip_.hwnd(), 0, stripY, cw, stripH, TRUE);
  stat_.Resize();
  RECT sr;
  GetWindowRect(stat_.hwnd(), &sr);
  int bodyY = stripY + stripH + 2, bodyH = std::max(0, ch - int(sr.bottom - sr.top) - bodyY);
  int left = 0;
  if (sidePanel()) {
    left = Twips(hwnd(), kSidePanelTwips);
    MoveWindow(pictLeft_, 0, bodyY, left - 4, bodyH, TRUE);
    MoveWindow(label2_, 0, 0, left - 4, 20, TRUE);
    MoveWindow(tvw_, 0, 22, left - 4, std::max(0, bodyH - 22), TRUE);
    MoveWindow(labLeft_, left - 3, bodyY, 3, bodyH, TRUE);
    ShowWindow(labLeft_, SW_SHOW);
  } else {
    ShowWindow(labLeft_, SW_HIDE);
  }
  MoveWindow(client_, left, bodyY, std::max(0, cw - left), bodyH, TRUE);
  // The tabs follow the new width; the active page fills the new client area.
  for (const TabBox& b : LayoutTabs(table_, StripWidthTwips())) {
    strip_.labels()[b.number].left = b.left;
    strip_.labels()[b.number].width = b.width;
  }
  strip_.Show(table_.Order());
  if (Formweb* page = ActivePage()) FillPage(page);
}

int FrmMain::StripWidthTwips() const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  return common::ui::PixelsToTwips(hwnd(), rc.right);
}

void FrmMain::FillPage(Formweb* page) {
  if (!page || !page->hwnd()) return;
  RECT rc, now;
  GetClientRect(client_, &rc);
  GetWindowRect(page->hwnd(), &now);
  MapWindowPoints(nullptr, client_, reinterpret_cast<POINT*>(&now), 2);
  UINT keep = EqualRect(&rc, &now) ? SWP_NOMOVE | SWP_NOSIZE : 0;
  SetWindowPos(page->hwnd(), HWND_TOP, 0, 0, rc.right, rc.bottom, SWP_SHOWWINDOW | keep);
  // Only the page in front is shown: the others cost the window manager nothing while hidden.
  if (shown_ && shown_ != page && shown_->hwnd())
    SetWindowPos(shown_->hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  shown_ = page;
}

Formweb* FrmMain::PageAt(int number) const {
  return number >= 0 && number < kMaxWindows ? pages_[number].get() : nullptr;
}

// ---- the window table ----

std::optional<int> FrmMain::addlab() {
  auto n = table_.AddLab();
  if (!n) return n;
  strip_.labels()[*n] = TabLabels{};
  progress_[*n] = 0;
  remote_[*n].clear();
  pailie();
  return n;
}

Formweb* FrmMain::loadnewform(const std::wstring& url) {
  if (table_.Full()) {  // 51 windows: the new one is refused
    MessageBeep(MB_ICONWARNING);
    return nullptr;
  }
  int n = *addlab();
  pages_[n] = std::make_unique<Formweb>(*this, options_.engines());
  Formweb* page = pages_[n].get();
  page->Load(client_, n);
  page->Web().Navigate(url);
  if (url == kBlankPage || startwindows_ == 0) {
    FillPage(page);
    SetTextUrl(url);
    if (url == kBlankPage) SetCaption(kBrowserTitle);
  } else {
    SetFocus(hwnd());
    if (table_.active() > 0) table_.StepActive(-1);
    pailie();
  }
  return page;
}

void FrmMain::pailie() {
  for (const TabBox& b : LayoutTabs(table_, StripWidthTwips())) {
    TabLabels& l = strip_.labels()[b.number];
    l.left = b.left;
    l.width = b.width;
    l.upWidth = 0;
    l.upVisible = false;
    l.active = b.active;
  }
  strip_.Show(table_.Order());
  WriteHistory();
}

void FrmMain::Recolour() {
  int active = table_.ActiveNumber();
  for (int n : table_.Order()) {
    TabLabels& l = strip_.labels()[n];
    if (l.active != (n == active)) {
      l.active = n == active;
      strip_.Refresh(n);
    }
  }
}

void FrmMain::WriteHistory() {
  if (quit_) return;  // a confirmed exit has emptied the folder for the next start
  std::vector<OpenPage> pages;
  for (int n = 0; n < kMaxWindows; ++n)
    if (pages_[n]) pages.push_back({strip_.labels()[n].caption, pages_[n]->Address()});
  // An unchanged list is already on disk as it is, unless someone (another instance's exit) removed it.
  std::wstring text = FormatOpenPages(pages), file = folder_ + L"temp\\page.his";
  if (text == written_ && historyWritten_ && common::FileExists(file)) return;
  historyWritten_ = common::WriteAnsiFile(file, text);
  written_ = std::move(text);
}

void FrmMain::AfterClose(Formweb* neighbour) {
  if (neighbour) {
    FillPage(neighbour);
    SetFocus(neighbour->hwnd());
    neighbour->Web().FocusDocument();
    const std::wstring& cap = strip_.labels()[neighbour->myindex].caption;
    SetCaption(cap.empty() ? std::wstring(kBrowserTitle) : FrameCaption(cap));
    SetTextUrl(neighbour->Address());
    SetPanel(7, remote_[neighbour->myindex]);
  }
  pailie();
}

void FrmMain::delline() {
  if (table_.count() == 0) return;
  if (table_.count() == 1) {
    if (Formweb* last = ActivePage()) last->Web().Navigate(kBlankPage);
    return;
  }
  CloseResult r = table_.CloseActive();
  closeform(r.closed);
  AfterClose(PageAt(r.neighbour));
}

void FrmMain::closeform(int number) {
  if (!PageAt(number)) return;
  if (!strip_.labels()[number].caption.empty()) RememberClosed(number);
  strip_.labels()[number] = TabLabels{};
  std::unique_ptr<Formweb> page = std::move(pages_[number]);
  page->Unload();
  if (shown_ == page.get()) shown_ = nullptr;
  SetWindowPos(page->hwnd(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The page may be closing from inside one of its own events: it is freed once they have returned.
  closing_.push_back(std::move(page));
  PostMessageW(hwnd(), kMsgReap, 0, 0);
}

void FrmMain::CloseNumbers(const std::vector<int>& numbers) {
  for (int n : numbers) closeform(n);
}

void FrmMain::closeall() {
  if (table_.count() == 0) return;
  CloseNumbers(table_.KeepOnly(0));
  pailie();
  Formweb* survivor = ActivePage();
  if (survivor) {
    survivor->Web().Navigate(kBlankPage);
    FillPage(survivor);
  }
  SetCaption(kBrowserTitle);
  SetTextUrl(kUrlPrompt);
}

void FrmMain::closeRight() {
  CloseNumbers(table_.CloseRight());
  pailie();
}

void FrmMain::closeLeft() {
  CloseNumbers(table_.CloseLeft());
  pailie();
}

void FrmMain::closeBoth() {
  CloseNumbers(table_.CloseLeft());
  CloseNumbers(table_.CloseRight());
  pailie();
}

// ---- the closed-page list ----

void FrmMain::LoadClosedPages() {
  for (int n = 1; n <= kClosedPages; ++n)
    closed_.SetEntry(n, {GetSetting(kApp, L"myie", EntryKey(n, L"his_cap")),
                         GetSetting(kApp, L"myie", EntryKey(n, L"his_url"))});
  closed_.SetCount(int(common::GetSettingNumber(kApp, L"CancelPage", L"Count")));
}

void FrmMain::SaveClosedPages() {
  for (int n = 1; n <= kClosedPages; ++n) {
    SaveSetting(kApp, L"myie", EntryKey(n, L"his_cap"), closed_.Entry(n).caption);
    SaveSetting(kApp, L"myie", EntryKey(n, L"his_url"), closed_.Entry(n).url);
  }
  SaveSetting(kApp, L"CancelPage", L"Count", std::to_wstring(closed_.Count()));
}

void FrmMain::ShowClosedPages() {
  while (GetMenuItemCount(cancelMenu_) > 0) DeleteMenu(cancelMenu_, 0, MF_BYPOSITION);
  for (int n = 1; n <= kClosedPages; ++n)
    if (!closed_.Entry(n).caption.empty()) AppendMenuW(cancelMenu_, MF_STRING, kUr1 + n - 1, closed_.Entry(n).caption.c_str());
  AppendMenuW(cancelMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(cancelMenu_, MF_STRING, kClear, L"清除以上历史记录(&C)");
}

void FrmMain::RememberClosed(int number) {
  Formweb* page = PageAt(number);
  std::wstring url = page ? page->Address() : L"";
  if (!closed_.Remember(strip_.labels()[number].caption, url)) return;
  SaveClosedPages();
  ShowClosedPages();
  if (!url.empty()) SendMessageW(comb_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(url.c_str()));
}

void FrmMain::reopenpage(const std::wstring& key) {
  int n = ClosedPages::KeyNumber(key);
  if (n == 0) return;
  std::wstring url = closed_.Reopen(n);
  SaveClosedPages();
  ShowClosedPages();
  if (!url.empty()) loadnewform(url);
}

void FrmMain::ShowRestore() {
  Formask ask(folder_ + L"temp\\page.his", [this](const std::wstring& url) { loadnewform(url); });
  if (ask.Create(hwnd())) RunModal(ask, hwnd());
  // Unanswered, or answered with nothing ticked: the frame never stands without a page.
  if (!ask.answered() || table_.count() == 0) {
    std::wstring start = GetSetting(kApp, L"myie", L"Start");
    loadnewform(start.empty() ? kBlankPage : start);
  }
}

// ---- page window services ----

void FrmMain::SetPanel(int panel, const std::wstring& text) { stat_.SetText(panel - 1, text); }
std::wstring FrmMain::Panel(int panel) const { return stat_.Text(panel - 1); }

void FrmMain::SetTabCaption(int number, const std::wstring& caption) {
  if (!PageAt(number) || strip_.labels()[number].caption == caption) return;
  strip_.labels()[number].caption = caption;
  strip_.Refresh(number);
}

void FrmMain::SetTabTip(int number, const std::wstring& tip) {
  if (PageAt(number)) strip_.labels()[number].tip = tip;
}

void FrmMain::SetProgress(int number, int percent) {
  if (PageAt(number)) progress_[number] = percent;
}

void FrmMain::SetRemoteText(int number, const std::wstring& text) {
  if (number >= 0 && number < kMaxWindows) remote_[number] = text;
}

std::wstring FrmMain::RemoteText(int number) const {
  return number >= 0 && number < kMaxWindows ? remote_[number] : L"";
}

void FrmMain::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd(), text.c_str()); }
std::wstring FrmMain::TextUrl() const { return common::ui::WindowText(textUrl_); }
void FrmMain::SetTextUrl(const std::wstring& text) { SetWindowTextW(textUrl_, text.c_str()); }
bool FrmMain::offnet() const { return GetMenuState(menu_, kOffnet, MF_BYCOMMAND) & MF_CHECKED; }

void FrmMain::BuildBlockList() {
  auto text = common::ReadAnsiFile(folder_ + L"guanggao.txt");
  blocks_.Load(text ? *text : L"");
}

void FrmMain::BlockPopup(Formweb* page) {
  std::wstring sound = folder_ + L"sys\\sha.wav";
  sndPlaySoundW(sound.c_str(), SND_SYNC | SND_NODEFAULT);
  ClosePage(page);
}

void FrmMain::ClosePage(Formweb* page) {
  // The page that asked is the one closed, whichever tab is active.
  if (!page || PageAt(page->myindex) != page) return;
  bool wasActive = IsActivePage(page);
  auto r = table_.CloseNumber(page->myindex);
  if (!r) return;
  if (r->keptLast) {
    page->Web().Navigate(kBlankPage);
    return;
  }
  closeform(r->closed);
  AfterClose(wasActive ? PageAt(r->neighbour) : nullptr);
}

void FrmMain::ShowNavigating(Formweb*) {
  newWindowPending = false;
  Formweb* active = ActivePage();
  if (active && startwindows_ != 1) FillPage(active);
  pailie();
}

Formweb* FrmMain::OpenNewWindowPage() {
  if (table_.Full()) return nullptr;  // the page's request is cancelled
  newWindowPending = true;
  int n = *addlab();
  pages_[n] = std::make_unique<Formweb>(*this, options_.engines());
  Formweb* page = pages_[n].get();
  page->Load(client_, n);
  if (startwindows_ == 1) {
    table_.StepActive(-1);
    pailie();
  }
  RECT rc;
  GetClientRect(client_, &rc);
  SetWindowPos(page->hwnd(), HWND_BOTTOM, 0, 0, rc.right, rc.bottom, SWP_NOACTIVATE);  // behind, until shown
  page->Web().RegisterAsBrowser();
  return page;
}

// ---- clicks and commands ----

void FrmMain::FocusCmb() {
  if (Formweb* page = ActivePage()) SetFocus(page->Cmb());
}

void FrmMain::Lab_MouseDown(int number, int button) {
  Formweb* page = PageAt(number);
  if (!page) return;
  FillPage(page);
  SetFocus(page->Cmb());
  SetPanel(1, page->Statu1);
  SetPanel(3, page->Statu3);
  SetPanel(5, page->Statu5);
  SetPanel(7, remote_[number]);
  page->butenableable();
  table_.SetActive(table_.PositionOf(number));
  Recolour();
  SetTextUrl(page->Address());
  const std::wstring& cap = strip_.labels()[number].caption;
  SetCaption(cap.empty() ? std::wstring(kBrowserTitle) : FrameCaption(cap));
  if (button == 2) {
    POINT pt;
    GetCursorPos(&pt);
    TrackPopupMenu(labRight_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd(), nullptr);
  }
}

void FrmMain::Lab_DblClick(int) { delline(); }

void FrmMain::Image1_MouseDown(int button) {
  if (button == 1)
    delline();
  else
    closeall();
  FocusCmb();
}

void FrmMain::CopyText(const std::wstring& text) { common::SetClipboardText(hwnd(), text); }

void FrmMain::runtool(const std::wstring& name, const std::wstring& args) {
  std::wstring exe = folder_ + name + L".exe";
  std::wstring line = common::QuoteArg(exe) + (args.empty() ? L"" : L" " + common::QuoteArg(args));
  if (!common::FileExists(exe) || !common::StartCommand(line, SW_SHOWNORMAL, folder_))
    loadnewform(folder_ + L"version.htm");
}

void FrmMain::SetAutoScroll(int id) {
  HMENU m = menu_;
  if (id == kMoveCurrent || id == kMoveAll) {
    bool on = !(GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED);
    CheckMenuItem(m, id, on ? MF_CHECKED : MF_UNCHECKED);
    autoScroll_ = (GetMenuState(m, kMoveCurrent, MF_BYCOMMAND) & MF_CHECKED) ||
                  (GetMenuState(m, kMoveAll, MF_BYCOMMAND) & MF_CHECKED);
  } else {
    CheckMenuRadioItem(m, kSlow, kFast, id, MF_BYCOMMAND);
    scrollStep_ = id == kSlow ? 1 : 3;
  }
}

void FrmMain::Command(int id) {
  Formweb* page = ActivePage();
  if (id >= kUr1 && id < kUr1 + kClosedPages) return reopenpage(L"ur" + std::to_wstring(id - kUr1 + 1));
  switch (id) {
    case kCloseMe: delline(); break;
    case kCloseRight: closeRight(); break;
    case kCloseLeft: closeLeft(); break;
    case kCloseBoth: closeBoth(); break;
    case kCloseAll: closeall(); break;
    case kHome: if (page) page->Web().ScrollBy(-0x3FFFFFFF); break;
    case kEnd: if (page) page->Web().ScrollBy(0x3FFFFFFF); break;
    case kCopyTitle: if (page) CopyText(strip_.labels()[page->myindex].caption); break;
    case kCopyUrl: if (page) CopyText(page->Address()); break;
    case kPage: runtool(L"PageInfo", TextUrl()); break;
    case kForward: if (page) page->Web().GoForward(); break;
    case kBack: if (page) page->Web().GoBack(); break;
    case kStop: if (page) page->Web().Stop(); break;
    case kRefresh: if (page) page->Web().Refresh(); break;
    case kCancel: reopenpage(L"ur1"); break;
    case kRadio: runtool(L"radio"); break;
    case kHistory: case kLishi: runtool(L"history"); break;
    case kProcess: runtool(L"Processor"); break;
    case kOffnet:
      CheckMenuItem(menu_, kOffnet, offnet() ? MF_UNCHECKED : MF_CHECKED);
      break;
    case kMoveCurrent: case kMoveAll: case kSlow: case kMedium: case kFast: SetAutoScroll(id); break;
    case kClear:
      if (common::MsgBox(hwnd(), kClearAsk, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        for (int n = 1; n <= kClosedPages; ++n) closed_.SetEntry(n, {});
        SaveClosedPages();
        ShowClosedPages();
      }
      break;
    case kExit: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
  }
}

// ---- timers, wheel and exit ----

void FrmMain::Timer3Tick() {
  if (++timer3Ticks_ < 10) return;
  timer3Ticks_ = 0;
  for (int n : table_.Order()) {
    TabLabels& l = strip_.labels()[n];
    int up = l.width * progress_[n] / 100;
    bool visible = up > 20;
    if (up != l.upWidth || visible != l.upVisible) {
      l.upWidth = up;
      l.upVisible = visible;
      strip_.Refresh(n);
    }
  }
  if (autoScroll_)
    if (Formweb* page = ActivePage()) page->Web().ScrollBy(scrollStep_);
}

void FrmMain::Wheel(int delta) {
  if (Formweb* page = ActivePage()) {
    page->Web().ScrollBy(delta < 0 ? 100 : -100);
    SetFocus(page->Cmb());
  }
}

bool FrmMain::QueryUnload() {
  if (inClose_) return false;
  inClose_ = true;
  bool confirmed = common::GetSettingNumber(kApp, L"unload", L"askme") != 0;
  if (!confirmed) {
    ExitDialog dialog;
    if (dialog.Create(hwnd(), OnlineMinutes(shi, NowDays()))) RunModal(dialog, hwnd());
    if (dialog.confirmed()) {
      SaveSetting(kApp, L"unload", L"askme", dialog.askMe() ? L"1" : L"0");
      unloadme = true;
    }
    confirmed = unloadme;
  }
  inClose_ = false;
  if (!confirmed) return false;
  SaveSetting(kApp, L"myie", L"Pictleft", sidePanel() ? L"1" : L"0");
  ShowWindow(hwnd(), SW_HIDE);
  quit_ = true;
  Unload();  // the pages go first, so none rewrites the open-pages file
  WIN32_FIND_DATAW fd;
  std::wstring temp = folder_ + L"temp\\";
  HANDLE h = FindFirstFileW((temp + L"*.*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((temp + fd.cFileName).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  common::WriteRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", L"1");
  DestroyWindow(hwnd());
  return true;
}

void FrmMain::Unload() {
  if (hwnd()) KillTimer(hwnd(), kTimer3);
  for (auto& page : pages_)
    if (page) page->Unload();
  for (auto& page : pages_) page.reset();
  shown_ = nullptr;
  closing_.clear();
}

void FrmMain::OnGone() {
  if (cancelMenu_) DestroyMenu(cancelMenu_);
  if (closeMenu_) DestroyMenu(closeMenu_);
  cancelMenu_ = closeMenu_ = nullptr;
  quit_ = true;
  if (running_) PostQuitMessage(0);  // wakes the loop; a frame without its loop (tests) leaves the queue alone
}

LRESULT FrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      if (wp == SIZE_MINIMIZED) TrimWorkingSet();
      return 0;
    case WM_EXITSIZEMOVE: TrimWorkingSet(); return 0;
    case WM_CLOSE: QueryUnload(); return 0;
    case WM_DESTROY: Unload(); return 0;
    case WM_TIMER: if (wp == kTimer3) Timer3Tick(); return 0;
    case WM_COMMAND: if (lp == 0 || HWND(lp) == toolbar_) Command(LOWORD(wp)); return 0;
    case kMsgReap: closing_.clear(); return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TBN_DROPDOWN) {
        auto* tb = reinterpret_cast<NMTOOLBARW*>(lp);
        HMENU m = tb->iItem == kCancel ? cancelMenu_ : tb->iItem == kCloseMe ? closeMenu_ : nullptr;
        RECT r;
        SendMessageW(toolbar_, TB_GETRECT, tb->iItem, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        if (m) TrackPopupMenu(m, TPM_LEFTALIGN, r.left, r.bottom, 0, hwnd(), nullptr);
        return TBDDRET_DEFAULT;
      }
      break;
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
