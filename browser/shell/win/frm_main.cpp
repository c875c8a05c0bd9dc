#include "browser/shell/win/frm_main.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shlwapi.h>
#include <windowsx.h>

#include "browser/pages/open_pages.h"
#include "browser/pages/win/formask.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/shell/win/pages_menu.h"
#include "browser/files/win/browser_files.h"
#include "browser/shell/win/exit_dialog.h"
#include "browser/shell/win/tools_menu.h"
#include "common/explorer_entries.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "common/win/text_file.h"
#include "common/win/ui/modal.h"
#include "common/win/ui/placement.h"

namespace corvane {
namespace {
using common::GetSetting;
using common::SaveSetting;
using common::ui::Twips;

enum : int { kTimer3 = 3 };
enum : UINT { kMsgReap = WM_APP + 10 };
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
  // A fresh state, the site lists, the first-run setup and the closed pages, then the window.
  unloadme = false;
  table_ = WindowTable{};
  autoScroll_ = false;
  scrollStep_ = 1;
  shi = NowDays();
  LoadSites();
  FirstRun();
  LoadClosedPages();
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  int w = std::min(GetSystemMetrics(SM_CXSCREEN), 1100), h = std::min(GetSystemMetrics(SM_CYSCREEN) - 40, 760);
  RECT at = common::ui::PlacedOver(nullptr, w, h);
  if (!Create(L"CorvaneFrmMain", kBrowserTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, at.left, at.top, w, h,
              nullptr, nullptr, icon))
    return false;
  menus_ = BuildFrameMenus();
  SetMenu(hwnd(), menus_.bar);
  accel_ = CreateFrameAccelerators();
  CreateControls();
  common::SetDialogKeys(hwnd(), accel_);
  common::SetKeyFilter([this](MSG& msg) { return ForwardKey(msg); });
  // The side panel as it was left, then the window shown and laid out.
  sidePanel_ = common::GetSettingNumber(kApp, L"myie", L"Pictleft") != 0;
  if (options_.show) ShowWindow(hwnd(), SW_SHOW);
  Layout();
  // The open-pages file is this browser's own, so the folders come first. Pages that another
  // browser left at an abnormal end are offered before anything opens, also when an address was given.
  for (const wchar_t* sub : {L"\\Favorites\\", L"\\Group\\", L"\\Temp\\"})
    CreateDirectoryW(common::ExtendedPath(ProgramFile(sub)).c_str(), nullptr);
  record_.Claim(folder_ + L"temp\\");
  std::wstring line = common::Trim(common::RemoveAll(commandLine, L'"'));
  std::vector<std::wstring> left = LeftRecords(folder_ + L"temp\\", record_.slot());
  if (!left.empty()) ShowRestore(left, line.empty());
  if (!line.empty())
    loadnewform(line);
  else if (left.empty())
    OpenStartPage();
  // The address box completes from the typed history.
  SHAutoComplete(textUrl_, SHACF_URLHISTORY);
  // The speed meter, the favorites and group menus and the block list.
  StartSpeedMeter(*this);
  buildfavorites(*this);
  loadgroups(*this);
  BuildBlockList();
  // The closed pages in their menu and in the address box's list.
  ShowClosedPages();
  for (int n = 1; n <= kClosedPages; ++n)
    if (!closed_.Entry(n).url.empty())
      SendMessageW(comb_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(closed_.Entry(n).url.c_str()));
  // The screen saver stays off while the browser runs.
  common::WriteRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", L"0");
  // How new windows open; the radio starts again when it was on.
  startwindows_ = int(common::GetSettingNumber(kApp, L"myie", L"startwindows"));
  if (common::GetSettingNumber(kApp, L"myie", L"startRadio") != 0) runtool(L"radio");
  SetTimer(hwnd(), kTimer3, 20, nullptr);
  quit_ = false;
  return true;
}

int FrmMain::Run() {
  // 11. The message loop; the frame's own wheel messages scroll the active page (WM_MOUSEWHEEL).
  running_ = true;
  int rc = common::RunMessageLoop();
  running_ = false;
  return rc;
}

bool FrmMain::ForwardKey(MSG& msg) {
  // Keys inside the page go to its control first: Tab between fields, Ctrl+C, Enter in forms. The focus
  // holder keeps its arrows for scrolling.
  Formweb* page = ActivePage();
  if (!page || !page->hwnd() || msg.hwnd == page->Cmb()) return false;
  if (msg.hwnd != page->hwnd() && !IsChild(page->hwnd(), msg.hwnd)) return false;
  return page->Web().TranslateAccelerator(msg);
}

void FrmMain::FirstRun() {
  std::wstring marker = folder_ + L"first.dat";
  if (common::FileSize(marker) >= 11) {
    for (const wchar_t* tool : {L"clear.exe", L"history.exe", L"PageInfo.exe", L"Processor.exe", L"radio.exe"}) {
      std::wstring p = common::ExtendedPath(folder_ + tool);
      DWORD a = GetFileAttributesW(p.c_str());
      if (a != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(p.c_str(), a | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    SaveSetting(kApp, L"first", L"load", L"");
    DeleteFileW(common::ExtendedPath(marker).c_str());
  }
  if (GetSetting(kApp, L"first", L"load").empty()) WriteDefaults();
}

void FrmMain::LoadSites() {
  auto text = common::ReadFileText(folder_ + kSitesFile, common::kSmallFileCap);
  hosts_.Load(text ? *text : L"");
}

void FrmMain::WriteDefaults() {
  auto start = hosts_.Address({kStartSite, L"/"}, folder_);
  SaveSetting(kApp, L"myie", L"Start", start ? *start : kBlankPage);
  SaveSetting(kApp, L"myie", L"startRadio", L"0");
  SaveSetting(kApp, L"unload", L"askme", L"0");
  SaveSetting(L"RororAreze", L"rororAreze", L"RadioTop", L"1");
  SaveSetting(L"RororAreze", L"rororAreze", L"RadioIndex", L"2");
  for (const wchar_t* ocx : {L"mswinsck.ocx", L"msinet.ocx", L"comdlg32.ocx", L"MSCOMCTL.OCX"}) {
    std::wstring p = folder_ + ocx;
    // Only controls shipped beside the program are registered; there is nothing to register otherwise.
    if (common::FileExists(p)) RunSystemTool(L"regsvr32.exe  /s " + common::QuoteArg(p), SW_SHOWMINIMIZED);
  }
  common::WriteRegString(HKEY_CLASSES_ROOT, L".swf", L"", L"flashfile");
  common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\defaultIcon", L"", folder_ + L"flash.exe");
  common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\shell\\open\\command", L"",
                         common::OpenCommand(folder_ + L"flash.exe"));
  SaveSetting(kApp, L"first", L"load", L"SoftLoad");
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
  // An unchanged list is already on disk as it is, unless someone removed the file.
  std::wstring text = FormatOpenPages(pages), file = record_.path();
  if (text == written_ && historyWritten_ && common::FileExists(file)) return;
  // Titles and addresses of any script: what the code page cannot hold goes to UTF-8, read back by its mark.
  historyWritten_ = WriteWholeText(file, text).ok();
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
    closed_.SetEntry(
        n, {GetSetting(kApp, L"myie", EntryKey(n, L"his_cap")), GetSetting(kApp, L"myie", EntryKey(n, L"his_url"))});
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
  HMENU m = menus_.cancel;
  while (GetMenuItemCount(m) > 0) DeleteMenu(m, 0, MF_BYPOSITION);
  for (int n = 1; n <= kClosedPages; ++n)
    if (!closed_.Entry(n).caption.empty()) AppendMenuW(m, MF_STRING, kUr1 + n - 1, closed_.Entry(n).caption.c_str());
  AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(m, MF_STRING, kClear, L"清除以上历史记录(&C)");
}

void FrmMain::ClearClosedPages() {
  if (common::MsgBox(hwnd(), kClearAsk, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  for (int n = 1; n <= kClosedPages; ++n) closed_.SetEntry(n, {});
  SaveClosedPages();
  ShowClosedPages();
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

void FrmMain::OpenStartPage() {
  std::wstring start = GetSetting(kApp, L"myie", L"Start");
  loadnewform(start.empty() ? kBlankPage : start);
}

void FrmMain::ShowRestore(const std::vector<std::wstring>& records, bool startPage) {
  std::vector<OpenPage> pages;
  std::vector<std::wstring> read;
  for (const auto& file : records)
    if (auto text = common::ReadFileText(file, common::kSmallFileCap)) {
      for (auto& page : ParseOpenPages(*text)) pages.push_back(std::move(page));
      read.push_back(file);
    }
  // Nothing that reads as a page: no dialog with nothing in it.
  Formask ask(std::move(pages), [this](const std::wstring& url) { return loadnewform(url) != nullptr; });
  if (!ask.pages().empty() && ask.Create(hwnd())) common::ui::RunModal(ask, hwnd());
  // Offered once: the next start is a normal one for them.
  for (const auto& file : read) DeleteFileW(common::ExtendedPath(file).c_str());
  // Unanswered, or answered with nothing ticked: the frame never stands without a page.
  if (startPage && (!ask.answered() || table_.count() == 0)) OpenStartPage();
  if (ask.notOpened() > 0) SetPanel(1, RestoreNotOpenedStatus(ask.notOpened()));
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

void FrmMain::SetBackForward(bool back, bool forward) {
  SendMessageW(toolbar_, TB_ENABLEBUTTON, kBack, back);
  SendMessageW(toolbar_, TB_ENABLEBUTTON, kForward, forward);
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
void FrmMain::SetTextUrl(const std::wstring& text) {
  SetWindowTextW(textUrl_, text.c_str());
  TextUrlChanged();
}
bool FrmMain::offnet() const { return GetMenuState(menus_.file, kOffnet, MF_BYCOMMAND) & MF_CHECKED; }

void FrmMain::BuildBlockList() {
  auto text = common::ReadFileText(ProgramFile(L"\\guanggao.txt"), common::kSmallFileCap);
  blocks_.Load(text ? *text : L"");
}

void FrmMain::BlockPopup(Formweb* page) {
  std::wstring sound = ProgramFile(L"\\sys\\sha.wav");
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
    TrackPopupMenu(menus_.labRight, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd(), nullptr);
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
  if (!common::SiblingToolPresent(hwnd(), exe) || !common::StartCommand(line, SW_SHOWNORMAL, folder_))
    loadnewform(folder_ + L"version.htm");
}

void FrmMain::SetAutoScroll(int id) {
  HMENU m = menus_.view;
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
    if (dialog.Create(hwnd(), OnlineMinutes(shi, NowDays()))) common::ui::RunModal(dialog, hwnd());
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
  // Other browsers' open-pages files stay, whether they run or ended abnormally.
  EmptyTemp(folder_ + L"temp\\", record_.slot());
  record_.Release();
  common::WriteRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive", L"1");
  DestroyWindow(hwnd());
  return true;
}

void FrmMain::Unload() {
  if (hwnd()) KillTimer(hwnd(), kTimer3);
  if (accel_) common::SetKeyFilter(nullptr);
  for (auto& page : pages_)
    if (page) page->Unload();
  for (auto& page : pages_) page.reset();
  shown_ = nullptr;
  closing_.clear();
}

void FrmMain::OnGone() {
  if (accel_) DestroyAcceleratorTable(accel_);
  accel_ = nullptr;
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
    case WM_GETMINMAXINFO:
      // Never narrower than the toolbar's buttons: none of them may fall out of view.
      if (toolbar_) {
        RECT frame{0, 0, ToolbarWidth(), 100};
        AdjustWindowRectEx(&frame, GetWindowLongW(hwnd(), GWL_STYLE), TRUE, GetWindowLongW(hwnd(), GWL_EXSTYLE));
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.x = frame.right - frame.left;
      }
      return 0;
    case WM_CLOSE: QueryUnload(); return 0;
    case WM_DESTROY: Unload(); return 0;
    case WM_TIMER:
      if (wp == kTimer3) Timer3Tick();
      return 0;
    case WM_COMMAND:
      if (lp == 0 || HWND(lp) == toolbar_)
        Command(LOWORD(wp));
      else
        ControlNotify(HWND(lp), HIWORD(wp));
      return 0;
    case WM_MOUSEWHEEL: Wheel(GET_WHEEL_DELTA_WPARAM(wp)); return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, ActivePage() ? ActivePage()->Cmb() : textUrl_); return 0;
    case kMsgReap: closing_.clear(); return 0;
    case kMsgCaret: ApplyCaretRule(HWND(lp)); return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      OnNotify(reinterpret_cast<NMHDR*>(lp), result);
      return result;
    }
    // The pictures of the favorites' and the groups' menu items.
    case WM_MEASUREITEM:
      if (MeasureMenuPicture(reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (DrawMenuPicture(reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
