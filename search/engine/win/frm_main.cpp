#include "search/engine/win/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "common/path.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "common/win/ui/placement.h"
#include "common/win/ui/tool_tip.h"
#include "search/engine/search_state.h"
#include "search/engine/win/busy.h"
#include "search/engine/win/drives.h"
#include "search/engine/win/folder_walk.h"
#include "search/engine/win/form_copy.h"
#include "search/engine/win/form_search.h"
#include "search/engine/win/launchers.h"
#include "search/engine/win/menu_key.h"
#include "search/engine/win/startup.h"
#include "search/extras/win/form_pre.h"
#include "search/extras/win/privacy_windows.h"

namespace sercavo {
namespace {
enum : int {
  kOpen = 401,
  kPrint,
  kSaveAs,
  kLaunch,  // the six launcher items
  kExit = kLaunch + kLauncherCount,
  kFind = 420,
  kEditCopy,
  kEditCut,
  kEditDel,
  kSelAll,
  kSelAllNo,
  kWen = 430,
  kFileView,
  kOptions,
  kHelpTopics = 440,
  kDownload,
  kAbout,
};
constexpr wchar_t kUpdatePage[] = L"https://sercavo.example/update.htm";
// Posted after an arrow key on the list: the focused row is previewed once the selection has moved.
constexpr UINT kMsgPreviewFocused = WM_APP + 2;
constexpr ULONGLONG kPumpIntervalMs = 10, kShowIntervalMs = 250;
constexpr int kWidthTwips = 10800, kHeightTwips = 7200;
const wchar_t* const kCmdCaptions[8] = {nullptr,     kSearchF,    L"复制(&C)", L"移动(&M)",
                                        L"删除(&C)", L"反选(&I)", L"打开(&O)", L"密码(&P)"};

LRESULT CALLBACK ListKeys(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  return HandleMenuKey(h, msg, wp) ? 0 : DefSubclassProc(h, msg, wp, lp);
}

}  // namespace

FrmMain::FrmMain(PreviewPanes panes) : formPre_(std::make_unique<FormPre>(std::move(panes))) {}
FrmMain::~FrmMain() = default;

bool FrmMain::Load(const std::wstring& commandLine) {
  StartUp();
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  if (!Create(L"SercavoFrmMain", kMainCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, CreateMenus(), icon))
    return false;
  common::SetDialogKeys(hwnd(), accel_);
  optBrush_ = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHTTEXT));
  chosenBrush_ = CreateSolidBrush(RGB(255, 255, 0));
  CreateControls();
  int w = common::ui::Twips(hwnd(), kWidthTwips), h = common::ui::Twips(hwnd(), kHeightTwips);
  common::ui::PlaceOver(hwnd(), nullptr, w, h);
  pendingFolder_ = PendingFolderOf(commandLine);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  FocusList();
  return true;
}

HMENU FrmMain::CreateMenus() {
  HMENU bar = CreateMenu(), file = CreatePopupMenu(), tools = CreatePopupMenu(), help = CreatePopupMenu();
  editMenu_ = CreatePopupMenu();
  auto item = [](HMENU m, int id, const wchar_t* text) { AppendMenuW(m, MF_STRING, id, text); };
  item(file, kOpen, L"打开(&O)...");
  item(file, kPrint, L"打印(&P)");
  item(file, kSaveAs, L"另存为(&A)...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendLaunchers(file, kLaunch);
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  item(file, kExit, L"退出(&X)");
  item(editMenu_, kFind, L"搜索文件(&F)\tCtrl+F");
  item(editMenu_, kEditCopy, L"复制文件(&C)\tCtrl+C");
  item(editMenu_, kEditCut, L"移动文件(&T)\tCtrl+X");
  item(editMenu_, kEditDel, L"删除文件(&P)\tCtrl+V");
  AppendMenuW(editMenu_, MF_SEPARATOR, 0, nullptr);
  item(editMenu_, kSelAll, L"全部选定(&A)\tCtrl+A");
  item(editMenu_, kSelAllNo, L"反向选择(&I)\tCtrl+I");
  item(tools, kWen, L"文件夹检查(&F)");
  AppendMenuW(tools, MF_STRING | MF_CHECKED, kFileView, L"启动窗口预览功能");
  item(tools, kOptions, L"选项(&O)...");
  item(help, kHelpTopics, L"帮助主题(&S)...");
  item(help, kDownload, L"软件升级(&R)");
  item(help, kAbout, L"关于(&A) ");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu_), L"编辑(&E)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"工具(&T)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"帮助(&H)");
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'F', kFind},    {FCONTROL | FVIRTKEY, 'C', kEditCopy},
                  {FCONTROL | FVIRTKEY, 'X', kEditCut}, {FCONTROL | FVIRTKEY, 'V', kEditDel},
                  {FCONTROL | FVIRTKEY, 'A', kSelAll},  {FCONTROL | FVIRTKEY, 'I', kSelAllNo}};
  accel_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
  return bar;
}

void FrmMain::CreateControls() {
  using common::ui::CreateControl;
  // Three groups for the arrow keys: the kinds, the buttons, the list. Tab stops at the chosen kind only.
  for (int i = 0; i < kKindCount; ++i)
    opt_[i] = CreateControl(hwnd(), L"BUTTON", KindCaption(i), BS_RADIOBUTTON | (i == 0 ? WS_GROUP : 0), kIdOpt + i);
  for (int i = 1; i <= 7; ++i)
    cmd_[i] = CreateControl(hwnd(), L"BUTTON", kCmdCaptions[i], BS_PUSHBUTTON | WS_TABSTOP | (i == 1 ? WS_GROUP : 0),
                            kIdCmd + i);
  lvw_.Create(hwnd(), kIdList);
  SetWindowSubclass(lvw_.hwnd(), ListKeys, 1, 0);
  SetWindowLongPtrW(lvw_.hwnd(), GWL_STYLE, GetWindowLongPtrW(lvw_.hwnd(), GWL_STYLE) | WS_GROUP);
  common::ui::AddToolTip(hwnd(), lvw_.hwnd(), L"鼠标单击可以复制文件夹路径，按住 Ctrl 或 Shift 键可以多选……");
  sta_.Create(hwnd(), kIdStatus, {5200, 60, 2300, 60, -1});
  PaintOptions(State().searchMode);
}

void FrmMain::Layout() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int w = common::ui::PixelsToTwips(hwnd(), rc.right), h = common::ui::PixelsToTwips(hwnd(), rc.bottom);
  int optWidth = std::max(600, (w - 200) / kKindCount);
  for (int i = 0; i < kKindCount; ++i) common::ui::MoveTwips(opt_[i], 100 + i * optWidth, 80, optWidth - 60, 330);
  int cmdWidth = std::max(600, (w - 200) / 7);
  for (int i = 1; i <= 7; ++i) common::ui::MoveTwips(cmd_[i], 100 + (i - 1) * cmdWidth, 480, cmdWidth - 60, 380);
  RECT sr{};
  GetWindowRect(sta_.hwnd(), &sr);
  int status = common::ui::PixelsToTwips(hwnd(), sr.bottom - sr.top);
  common::ui::MoveTwips(lvw_.hwnd(), 50, 960, std::max(0, w - 100), std::max(0, h - 1010 - status));
  sta_.Resize();
}

void FrmMain::PaintOptions(int chosen) {
  chosen_ = chosen;
  for (int i = 0; i < kKindCount; ++i) {
    SendMessageW(opt_[i], BM_SETCHECK, i == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    // Tab stops at the chosen kind only; the arrows move between the kinds.
    LONG_PTR style = GetWindowLongPtrW(opt_[i], GWL_STYLE);
    SetWindowLongPtrW(opt_[i], GWL_STYLE, i == chosen ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
    InvalidateRect(opt_[i], nullptr, TRUE);
  }
}

void FrmMain::OptClick(int index) {
  if (index < 0 || index >= kKindCount) return;
  if (RefuseWhileWalking()) return;
  PaintOptions(index);
  SearchState& st = State();
  st.searchMode = int16_t(index);
  st.foundCount = 0;
  SetStatus(1, L"");
  SetStatus(3, L"");
  if (index == kText) {
    if (Command1Caption() == kStopS) SetCommand1Caption(kSearchS);
    formWord_.Load(hwnd());
    return;
  }
  FormSearch form(*this);
  if (form.Load(KindCaption(index))) form.ShowModal();
}

std::wstring FrmMain::TakePendingFolder() { return std::exchange(pendingFolder_, std::wstring()); }

// A search walks (this window's, or the text search's in its pump step): no other starts, and the user
// is told why nothing happens.
bool FrmMain::RefuseWhileWalking() {
  if (!searching_ && !State().walking) return false;
  common::MsgBox(hwnd(), kNotStopped, MB_ICONINFORMATION);
  return true;
}

void FrmMain::Command1Click() {
  if (Command1Caption() != kStopS) {
    if (RefuseWhileWalking()) return;
    SetCommand1Caption(kStopS);
    OptClick(State().searchMode);
  } else {
    SetCommand1Caption(kSearchS);
    SetStatus(1, kStoppedText);
    State().stopRequested = true;
  }
}

std::wstring FrmMain::Command1Caption() const { return common::ui::WindowText(cmd_[1]); }
void FrmMain::SetCommand1Caption(const std::wstring& caption) { SetWindowTextW(cmd_[1], caption.c_str()); }
void FrmMain::SetStatus(int panel, const std::wstring& text) {
  if (panel < 1 || panel > 5) return;
  if (!searching_) return sta_.SetText(panel - 1, text);
  pendingStatus_[panel] = text;
  statusPending_[panel] = true;
}

void FrmMain::FlushStatus() {
  for (int panel = 1; panel <= 5; ++panel)
    if (std::exchange(statusPending_[panel], false)) sta_.SetText(panel - 1, pendingStatus_[panel]);
}

std::wstring FrmMain::Status(int panel) const {
  if (panel >= 1 && panel <= 5 && statusPending_[panel]) return pendingStatus_[panel];
  return sta_.Text(panel - 1);
}

bool FrmMain::Search(const std::wstring& mulu) {
  SearchState& st = State();
  if (searching_ || st.walking) return false;
  searching_ = st.walking = true;
  Busy busy;
  st.foundCount = st.scannedCount = 0;
  lvw_.Clear();
  SetStatus(1, L"正在搜索当中，请您稍等……");
  lastPump_ = lastShown_ = 0;
  if (mulu != kMyComputer) {
    WalkOne(mulu);
  } else {
    for (const std::wstring& root : ListSearchDrives()) {
      if (st.stopRequested) break;
      WalkOne(root);
    }
  }
  lvw_.ShowNewRows();
  if (lvw_.model().sorted()) lvw_.Resort();
  FlushStatus();
  searching_ = st.walking = false;
  return true;
}

void FrmMain::WalkOne(const std::wstring& path) {
  WalkHandlers on;
  on.visitFolder = [this](const std::wstring& p, const FILETIME& t) { VisitFolder(p, t); };
  on.file = [this](const std::wstring& folder, const WIN32_FIND_DATAW& e) { AddFile(folder, e); };
  on.pump = [this] { PumpStep(); };
  on.stopRequested = [] { return State().stopRequested; };
  WalkFolder(path, on);
}

// The step after each entry. Looking at the queue is a round trip to the window server on some systems,
// dearer than reading a directory entry, so it looks at most once per clock tick; a click still takes
// effect within a few milliseconds. New rows and status texts are drawn four times a second.
void FrmMain::PumpStep() {
  ULONGLONG now = GetTickCount64();
  if (now - lastPump_ < kPumpIntervalMs) return;
  lastPump_ = now;
  if (now - lastShown_ >= kShowIntervalMs) {
    lastShown_ = now;
    lvw_.ShowNewRows();
    FlushStatus();
  }
  common::PumpMessages();
}

void FrmMain::VisitFolder(const std::wstring& path, const FILETIME& modified) {
  SetStatus(1, L"正在搜索目录： " + path + L" ……");
  std::wstring name = FolderName(path);
  if (!KeywordMatches(State().searchKeyword, name)) return;
  ++State().foundCount;
  lvw_.AddFolder(path, modified);
  ShowCounters();
}

void FrmMain::AddFile(const std::wstring& folder, const WIN32_FIND_DATAW& e) {
  SearchState& st = State();
  ++st.scannedCount;
  uint64_t size = (uint64_t(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
  if (!FileMatches(st.searchMode, st.searchKeyword, e.cFileName, size, st.shieldFlags)) return;
  ++st.foundCount;
  lvw_.AddFile(folder, e);
  ShowCounters();
}

void FrmMain::ShowCounters() {
  SetStatus(3, L"搜索文件总数：" + std::to_wstring(State().scannedCount) + L" 个");
  SetStatus(5, L"发现目标文件：" + std::to_wstring(State().foundCount) + L" 个");
}

void FrmMain::RunFileOp(int kind, const std::wstring& targetFolder) {
  lvw_.PullSelection();
  State().fileOpKind = int16_t(kind);
  State().targetFolder = targetFolder;
  Busy busy;
  FormCopy form(lvw_);
  form.RunModal(hwnd());
  FocusList();
}

void FrmMain::CopyOrMoveClick(int kind) {
  std::wstring target = BrowseForFolder(hwnd());
  if (target == L"\\") return FocusList();
  RunFileOp(kind, target);
}

void FrmMain::DeleteClick() {
  if (common::MsgBox(hwnd(), L"您确实要删除该文件吗？       ", MB_OKCANCEL | MB_ICONQUESTION, L"删除") != IDOK)
    return FocusList();
  RunFileOp(kFileOpDelete, L"");
}

void FrmMain::OpenClick(int row) {
  int i = row >= 0 ? row : lvw_.ActiveRow();
  if (i < 0 || i >= lvw_.Count()) return;
  std::wstring path = lvw_.model().Path(size_t(i));
  if (path.empty()) return;
  ShellExecuteW(hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  FocusList();
}

void FrmMain::ListMouseUp(int button, int shift, int row) {
  if (!fileView_ || button != kLeftButton || shift == kShiftDown) return;
  int i = row >= 0 ? row : lvw_.ActiveRow();
  if (i < 0 || i >= lvw_.Count()) return;
  std::wstring path = lvw_.model().Path(size_t(i));
  common::SetClipboardText(hwnd(), path);
  formPre_->Preview(path, hwnd());
}

void FrmMain::ClosePreview() { formPre_->Close(); }

bool FrmMain::QueryUnload() {
  if (Command1Caption() != kStopS && !State().walking) return true;
  common::MsgBox(hwnd(), kNotStopped, MB_ICONINFORMATION);
  SetFocus(cmd_[1]);
  return false;
}

// Enter: a focused button does its own work, the list opens its row.
void FrmMain::EnterKey() {
  HWND focus = GetFocus();
  if (focus == lvw_.hwnd()) return OpenClick();
  for (int i = 1; i <= 7; ++i)
    if (focus == cmd_[i]) return OnCommand(kIdCmd + i);
  for (int i = 0; i < kKindCount; ++i)
    if (focus == opt_[i]) return OptClick(i);
}

void FrmMain::OnCommand(int id) {
  std::wstring app = common::AppFolder();
  switch (id) {
    case IDOK: return EnterKey();
    case IDCANCEL: return;
    case kIdCmd + 1:
    case kFind: return Command1Click();
    case kIdCmd + 2:
    case kEditCopy:
    case kSaveAs: return CopyOrMoveClick(kFileOpCopy);
    case kIdCmd + 3:
    case kEditCut: return CopyOrMoveClick(kFileOpMove);
    case kIdCmd + 4:
    case kEditDel: return DeleteClick();
    case kIdCmd + 5:
    case kSelAllNo: lvw_.InvertSelection(); return FocusList();
    case kIdCmd + 6:
    case kOpen: return OpenClick();
    case kIdCmd + 7:
    case kOptions: return OpenPrivacy(hwnd(), State().shieldFlags);
    case kSelAll: lvw_.SelectAll(); return FocusList();
    case kExit: PostMessageW(hwnd(), WM_CLOSE, 0, 0); return;
    case kWen:
      if (common::SiblingToolPresent(hwnd(), app + L"report.exe"))
        common::StartCommand(common::QuoteArg(app + L"report.exe"));
      return;
    case kFileView:
      fileView_ = !fileView_;
      CheckMenuItem(GetMenu(hwnd()), kFileView, fileView_ ? MF_CHECKED : MF_UNCHECKED);
      return;
    case kHelpTopics: common::ShellOpen(app + L"version.htm"); return;
    case kDownload: common::ShellOpen(kUpdatePage); return;
    case kAbout:
      ShellAboutW(hwnd(), L"Sercavo (v2.2)", nullptr, LoadIconW(GetModuleHandleW(nullptr), L"APPICON"));
      return;
  }
  if (id >= kIdOpt && id < kIdOpt + kKindCount) OptClick(id - kIdOpt);
  if (id >= kLaunch && id < kLaunch + kLauncherCount) RunLauncher(id - kLaunch);
}

void FrmMain::OnNotify(NMHDR* hdr) {
  if (hdr->idFrom != kIdList) return;
  switch (hdr->code) {
    case LVN_GETDISPINFOW: lvw_.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr)); break;
    case LVN_COLUMNCLICK: lvw_.ColumnClick(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem); break;
    case NM_DBLCLK: OpenClick(reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem); break;
    case NM_RCLICK: {
      POINT p;
      GetCursorPos(&p);
      TrackPopupMenu(editMenu_, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
      break;
    }
    case NM_CLICK: {
      int row = reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem;
      int shift = (GetKeyState(VK_SHIFT) < 0 ? kShiftDown : 0) | (GetKeyState(VK_CONTROL) < 0 ? kCtrlDown : 0);
      if (row >= 0) ListMouseUp(kLeftButton, shift, row);
      break;
    }
    case LVN_KEYDOWN: {
      WORD key = reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey;
      // The selection moves after the key is handled; act on it once it has.
      if (key == VK_DOWN || key == VK_UP) PostMessageW(hwnd(), kMsgPreviewFocused, 0, 0);
      break;
    }
  }
}

LRESULT FrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_CLOSE:
      if (QueryUnload()) DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      DeleteObject(optBrush_);
      DeleteObject(chosenBrush_);
      if (accel_) DestroyAcceleratorTable(accel_);
      return 0;
    case WM_NOTIFY: OnNotify(reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp)); return 0;
    case kMsgPreviewFocused: ListMouseUp(kLeftButton, kCtrlDown); return 0;
    case WM_CONTEXTMENU:
      // Shift+F10 and the menu key on the list: the edit menu at the row the user is at.
      if (reinterpret_cast<HWND>(wp) == lvw_.hwnd() && GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) {
        POINT p = lvw_.KeyboardMenuPoint();
        TrackPopupMenu(editMenu_, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (HoldBusyCursor()) return TRUE;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      for (int i = 0; i < kKindCount; ++i)
        if (reinterpret_cast<HWND>(lp) == opt_[i]) {
          HBRUSH b = i == chosen_ ? chosenBrush_ : optBrush_;
          SetBkColor(reinterpret_cast<HDC>(wp), i == chosen_ ? RGB(255, 255, 0) : GetSysColor(COLOR_HIGHLIGHTTEXT));
          return reinterpret_cast<LRESULT>(b);
        }
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
