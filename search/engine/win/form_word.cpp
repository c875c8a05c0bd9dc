#include "search/engine/win/form_word.h"

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/settings_store.h"
#include "common/win/text_file.h"
#include "common/win/ui/placement.h"
#include "search/engine/case_fold.h"
#include "search/engine/search_state.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/busy.h"
#include "search/engine/win/drives.h"
#include "search/engine/win/file_ops.h"
#include "search/engine/win/folder_walk.h"
#include "search/engine/win/launchers.h"
#include "search/engine/win/menu_key.h"
#include "search/engine/win/results_list.h"
#include "search/engine/win/text_walk.h"

namespace sercavo {
namespace {
enum : int { kSaveAs = 501, kLaunch = 510, kExit = 520, kCut = 530, kCopy, kPaste, kSelectAll, kFind };
constexpr ULONGLONG kPumpIntervalMs = 10, kShowIntervalMs = 250;
constexpr size_t kPaneHead = 4u << 20;
constexpr int kTop = 1450, kGap = 90, kMinList = 1200, kMinPane = 1500;  // twips
const wchar_t* const kFolders[] = {kMyComputer, L"C:\\", L"D:\\", L"E:\\", L"F:\\", L"G:\\", L"H:\\"};
const wchar_t* const kTypes[] = {
    L"*.*", L"*.txt", L"*.htm;*.html", L"*.asp", L"*.xml", L"*.rtf", L"*.txt;*.htm;*.html;*.asp"};
const wchar_t* const kSizes[] = {L"100", L"200", L"300", L"500", L"1000"};
constexpr wchar_t kSizeLabel[] = L"文件小于            KB";

std::wstring Text(HWND h) { return common::ui::WindowText(h); }

void AddItems(HWND combo, std::initializer_list<const wchar_t*> items) {
  for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// Width of a text in the window's font, in twips.
int TextTwips(HWND w, const std::wstring& text) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, common::ui::UiFontOf(w));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return common::ui::PixelsToTwips(w, size.cx);
}

SaveRefusal RefusalOf(common::ReadStatus status, bool exact, bool rich) {
  switch (status) {
    case common::ReadStatus::kRead:
      return rich ? SaveRefusal::kRichText : exact ? SaveRefusal::kNone : SaveRefusal::kNotExact;
    case common::ReadStatus::kTooLarge: return SaveRefusal::kTooLarge;
    case common::ReadStatus::kUnreadable: return SaveRefusal::kUnreadable;
    case common::ReadStatus::kMissing: break;
  }
  return SaveRefusal::kNone;
}

// While the list handles a key its selection moves by the keyboard: the focus stays in the list.
LRESULT CALLBACK ListKeys(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg != WM_KEYDOWN) return DefSubclassProc(h, msg, wp, lp);
  bool& keys = *reinterpret_cast<bool*>(data);
  bool was = std::exchange(keys, true);
  LRESULT r = DefSubclassProc(h, msg, wp, lp);
  keys = was;
  return r;
}

// Tab leaves the content pane, and Esc reaches the window, as in every other box.
LRESULT CALLBACK PaneKeys(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (HandleMenuKey(h, msg, wp)) return 0;
  LRESULT r = DefSubclassProc(h, msg, wp, lp);
  if (msg == WM_GETDLGCODE && lp) {
    auto* m = reinterpret_cast<const MSG*>(lp);
    if (m->message == WM_KEYDOWN && (m->wParam == VK_TAB || m->wParam == VK_ESCAPE))
      r &= ~LRESULT(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  }
  return r;
}
}  // namespace

bool FormWord::Load(HWND owner) {
  if (hwnd()) {
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
    return true;
  }
  LoadLibraryW(L"Msftedit.dll");
  int w = common::ui::Twips(owner, 10400), h = common::ui::Twips(owner, 7800);
  RECT r = common::ui::PlacedOver(owner, w, h);
  if (!Create(kFormWordClass, kWordCaption, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, r.left, r.top, w, h, owner,
              CreateMenus()))
    return false;
  listWidth_ = 3600;
  CreateControls();
  common::SetDialogKeys(hwnd(), accel_);
  SetWindowTextW(control(kIdFind), common::GetSetting(kApp, L"searchtxt", L"search", L"").c_str());
  Layout();
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(control(kIdFind));
  return true;
}

HMENU FormWord::CreateMenus() {
  HMENU bar = CreateMenu(), file = CreatePopupMenu();
  editMenu_ = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kSaveAs, L"另存为(&A)...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendLaunchers(file, kLaunch);
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExit, L"退出(&X)");
  AppendMenuW(editMenu_, MF_STRING, kCut, L"剪切(&T)\tCtrl+X");
  AppendMenuW(editMenu_, MF_STRING, kCopy, L"复制(&C)\tCtrl+C");
  AppendMenuW(editMenu_, MF_STRING, kPaste, L"粘贴(&P)\tCtrl+V");
  AppendMenuW(editMenu_, MF_STRING, kSelectAll, L"全选(&A)\tCtrl+A");
  AppendMenuW(editMenu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(editMenu_, MF_STRING, kFind, L"搜索下一个(&S)\tF3");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu_), L"编辑(&E)");
  // The pane's own Ctrl keys cut, copy and paste; only find-next needs a key of the window.
  ACCEL keys[] = {{FVIRTKEY, VK_F3, kFind}};
  accel_ = CreateAcceleratorTableW(keys, 1);
  return bar;
}

void FormWord::CreateControls() {
  using common::ui::CreateControl;
  HWND w = hwnd();
  const DWORD combo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
  // The size box stands in the blank of its caption: the words before the blank and after it are two labels.
  std::wstring size = kSizeLabel;
  std::wstring before = size.substr(0, size.find(L' ')), after = size.substr(size.rfind(L' ') + 1);
  const struct {
    std::wstring text;
    int id;
  } labels[] = {{L"查找文字：", 1}, {L"替换成为：", 2}, {L"搜索目录：", 3},
                {L"文件类型：", 4}, {before, 5},        {after, 6}};
  for (const auto& l : labels) CreateControl(w, L"STATIC", l.text, SS_LEFT, 900 + l.id);
  CreateControl(w, WC_COMBOBOXW, L"", combo, kIdFind);
  CreateControl(w, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kIdReplaceText, WS_EX_CLIENTEDGE);
  AddItems(CreateControl(w, WC_COMBOBOXW, L"", combo, kIdFolder),
           {kFolders[0], kFolders[1], kFolders[2], kFolders[3], kFolders[4], kFolders[5], kFolders[6]});
  CreateControl(w, L"BUTTON", L"浏览", BS_PUSHBUTTON | WS_TABSTOP, kIdBrowse);
  AddItems(CreateControl(w, WC_COMBOBOXW, L"", combo, kIdTypes),
           {kTypes[0], kTypes[1], kTypes[2], kTypes[3], kTypes[4], kTypes[5], kTypes[6]});
  AddItems(CreateControl(w, WC_COMBOBOXW, L"", combo, kIdSize),
           {kSizes[0], kSizes[1], kSizes[2], kSizes[3], kSizes[4]});
  // A combo box takes its text only once made.
  SetWindowTextW(control(kIdFolder), L"D:\\");
  SetWindowTextW(control(kIdTypes), kTypes[6]);
  SetWindowTextW(control(kIdSize), L"200");
  HWND check = CreateControl(w, L"BUTTON", L"字母不分大小写", BS_AUTOCHECKBOX | WS_TABSTOP, kIdCase);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  CreateControl(w, L"BUTTON", kStartFind, BS_DEFPUSHBUTTON | WS_TABSTOP, kIdStart);
  CreateControl(w, L"BUTTON", L"全部替换", BS_PUSHBUTTON | WS_TABSTOP, kIdReplaceAll);
  CreateControl(w, L"BUTTON", L"搜索结果", BS_GROUPBOX, kIdListFrame);
  CreateControl(w, L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, kIdList,
                WS_EX_CLIENTEDGE);
  SendMessageW(control(kIdList), LB_SETHORIZONTALEXTENT, 2000, 0);
  SetWindowSubclass(control(kIdList), ListKeys, 1, reinterpret_cast<DWORD_PTR>(&listKeys_));
  CreateControl(w, L"BUTTON", L"显示文件内容", BS_GROUPBOX, kIdPaneFrame);
  HWND pane =
      CreateControl(w, MSFTEDIT_CLASS, L"",
                    ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                    kIdPane, WS_EX_CLIENTEDGE);
  SendMessageW(pane, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
  SetWindowSubclass(pane, PaneKeys, 1, 0);
  sta_.Create(w, kIdStatus, StatusWidths());
  tips_.Create(w);
  tips_.Set(control(kIdTypes), L"请选择文件的查看类型");
}

void FormWord::Layout() {
  using common::ui::MoveTwips;
  HWND w = hwnd();
  RECT rc;
  GetClientRect(w, &rc);
  int cw = common::ui::PixelsToTwips(w, rc.right), ch = common::ui::PixelsToTwips(w, rc.bottom);
  MoveTwips(GetDlgItem(w, 901), 120, 170, 1000, 300);
  MoveTwips(control(kIdFind), 1100, 120, 3300, 2400);
  MoveTwips(GetDlgItem(w, 902), 4600, 170, 1000, 300);
  MoveTwips(control(kIdReplaceText), 5600, 120, 2400, 330);
  MoveTwips(GetDlgItem(w, 903), 120, 590, 1000, 300);
  MoveTwips(control(kIdFolder), 1100, 540, 2650, 2400);
  MoveTwips(control(kIdBrowse), 3800, 540, 600, 330);
  MoveTwips(GetDlgItem(w, 904), 4600, 590, 1000, 300);
  MoveTwips(control(kIdTypes), 5600, 540, 2400, 2400);
  int lead = TextTwips(w, common::ui::WindowText(GetDlgItem(w, 905))) + 60;
  MoveTwips(GetDlgItem(w, 905), 120, 1010, lead, 300);
  MoveTwips(control(kIdSize), 120 + lead, 960, 900, 2400);
  MoveTwips(GetDlgItem(w, 906), 120 + lead + 960, 1010, 500, 300);
  MoveTwips(control(kIdCase), 4600, 990, 2400, 330);
  MoveTwips(control(kIdStart), 8300, 120, 1500, 400);
  MoveTwips(control(kIdReplaceAll), 8300, 560, 1500, 400);
  RECT sr{};
  GetWindowRect(sta_.hwnd(), &sr);
  int bottom = ch - common::ui::PixelsToTwips(w, sr.bottom - sr.top) - 60;
  int height = std::max(600, bottom - kTop);
  listWidth_ = std::clamp(listWidth_, kMinList, std::max(kMinList, cw - kMinPane - kGap - 120));
  MoveTwips(control(kIdListFrame), 60, kTop, listWidth_, height);
  MoveTwips(control(kIdList), 140, kTop + 260, listWidth_ - 160, height - 340);
  int paneLeft = 60 + listWidth_ + kGap;
  MoveTwips(control(kIdPaneFrame), paneLeft, kTop, std::max(0, cw - paneLeft - 60), height);
  MoveTwips(control(kIdPane), paneLeft + 80, kTop + 260, std::max(0, cw - paneLeft - 220), height - 340);
  sta_.Resize();
}

bool FormWord::OverSplitter(int x, int y) const {
  int tx = common::ui::PixelsToTwips(hwnd(), x), ty = common::ui::PixelsToTwips(hwnd(), y);
  return ty >= kTop && tx >= 60 + listWidth_ - 20 && tx <= 60 + listWidth_ + kGap + 20;
}

std::wstring FormWord::Status(int panel) const {
  if (reading_.pending && (panel == 1 || panel == 3 || panel == 5)) return ReadingText(panel);
  if (panel >= 1 && panel <= 7 && statusPending_[panel]) return pendingStatus_[panel];
  return sta_.Text(panel - 1);
}

void FormWord::SetStatus(int panel, const std::wstring& text) {
  if (panel < 1 || panel > 7) return;
  if (!searching_) return sta_.SetText(panel - 1, text);
  pendingStatus_[panel] = text;  // drawn at the next pump step that shows
  statusPending_[panel] = true;
}

std::wstring FormWord::ReadingText(int panel) const {
  if (panel == 1) return reading_.path;
  return panel == 3 ? ScanSizeText(reading_.bytes) : ScannedText(reading_.scanned);
}

void FormWord::FlushStatus() {
  if (std::exchange(reading_.pending, false))
    for (int panel : {1, 3, 5}) SetStatus(panel, ReadingText(panel));
  for (int panel = 1; panel <= 7; ++panel)
    if (std::exchange(statusPending_[panel], false)) sta_.SetText(panel - 1, pendingStatus_[panel]);
  if (pendingHits_.empty()) return;
  // New hits join the list in batches: a list that is drawn anew for each costs more than the search.
  HWND list = control(kIdList);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const std::wstring& path : pendingHits_)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  pendingHits_.clear();
}

void FormWord::PumpStep() {
  ULONGLONG now = GetTickCount64();
  if (now - lastPump_ < kPumpIntervalMs) return;
  lastPump_ = now;
  if (now - lastShown_ >= kShowIntervalMs) {
    lastShown_ = now;
    FlushStatus();
  }
  common::PumpMessages();
}

void FormWord::Command1Click() {
  std::wstring folder = BrowseForFolder(hwnd());
  if (folder.size() <= 2) return;
  SetWindowTextW(control(kIdFolder), folder.c_str());
  SetFocus(control(kIdFolder));
}

void FormWord::Command2Click() {
  // Stop first: a running search always stops, whatever the boxes hold.
  if (searching_) {
    State().stopRequested = true;
    SetWindowTextW(control(kIdStart), kStartFind);
    return;
  }
  if (Text(control(kIdFind)).empty()) return;
  if (State().walking) {  // a name search walks: never two at once
    common::MsgBox(hwnd(), kNotStopped, MB_ICONINFORMATION);
    return;
  }
  Start();
}

void FormWord::Command3Click() {
  if (searching_) return;
  replaceMode_ = true;
  EnableWindow(control(kIdStart), FALSE);
  Command2Click();
  replaceMode_ = false;
  if (hwnd()) EnableWindow(control(kIdStart), TRUE);
}

void FormWord::Start() {
  SearchState& st = State();
  std::wstring find = Text(control(kIdFind));
  TextRequest request{find, Text(control(kIdReplaceText)), Text(control(kIdTypes)),
                      SizeLimitBytes(Text(control(kIdSize))), replaceMode_};
  st.foundCount = st.scannedCount = 0;
  for (int id : {kIdReplaceAll, kIdList, kIdPane}) EnableWindow(control(id), FALSE);
  Busy busy;
  common::SaveSetting(kApp, L"searchtxt", L"search", find);
  SendMessageW(control(kIdFind), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(find.c_str()));
  SendMessageW(control(kIdList), LB_RESETCONTENT, 0, 0);
  SetWindowTextW(control(kIdStart), kStopFind);
  searching_ = st.walking = true;
  lastPump_ = lastShown_ = 0;
  notReplaced_.clear();
  TextEvents on;
  // Kept as it is and put in words only when shown: texts made for every file would cost more than
  // reading most of them.
  on.reading = [&](const std::wstring& path, uint64_t bytes) { reading_ = {path, bytes, st.scannedCount, true}; };
  on.hit = [&](const std::wstring& path) {
    pendingHits_.push_back(path);
    SetStatus(7, FoundText(st.foundCount));
  };
  on.notReplaced = [&](const std::wstring& path, NotReplaced why) { notReplaced_.emplace_back(path, why); };
  on.pump = [this] { PumpStep(); };
  on.stopRequested = [] { return State().stopRequested; };
  std::wstring where = Text(control(kIdFolder));
  if (where != kMyComputer) {
    WalkTextFolder(where, request, on);
  } else {
    for (const std::wstring& root : ListSearchDrives()) {
      if (st.stopRequested) break;
      WalkTextFolder(root, request, on);
    }
  }
  searching_ = st.walking = false;
  Finish();
}

void FormWord::Finish() {
  FlushStatus();
  HWND list = control(kIdList);
  size_t found = size_t(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (found == 0) {
    for (int panel : {1, 3, 7}) SetStatus(panel, L"");
    SetWindowTextW(control(kIdPane), kNothingFound);
  } else {
    SetWindowTextW(control(kIdPane), L"");
  }
  if (!notReplaced_.empty())
    SetStatus(1, NotReplacedText(notReplaced_.front().second, notReplaced_.front().first, notReplaced_.size()));
  SetWindowTextW(control(kIdStart), kStartFind);
  tips_.Set(list, ResultsTip(found));
  for (int id : {kIdReplaceAll, kIdPane, kIdList}) EnableWindow(control(id), TRUE);
  State().stopRequested = false;
}

void FormWord::ListxClick(bool focusPane) {
  HWND list = control(kIdList);
  int i = int(SendMessageW(list, LB_GETCURSEL, 0, 0));
  if (i < 0) return;
  std::wstring path(size_t(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
  SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(path.data()));
  ShowInPane(path, focusPane);
}

void FormWord::ShowInPane(const std::wstring& path, bool focusPane) {
  HWND pane = control(kIdPane);
  const common::CodePage& cp = common::ChineseCodePage();
  common::FileBytes bytes = common::ReadFileBytes(path, common::kLargeFileCap);
  uint64_t size = bytes.bytes.size();
  bool head = bytes.status == common::ReadStatus::kTooLarge;
  // A file too large for the pane shows its start (and may not be saved over).
  if (head) common::ReadFileRange(path, 0, kPaneHead, bytes.bytes, &size);
  common::TextFile file = common::TextFileOf(bytes.bytes, cp);
  if (head) file.text = common::TextOfHead(bytes.bytes, false, cp);
  bool rich = IsRichText(path, bytes.bytes);
  shownPath_ = path;
  shownFormat_ = file.format;
  shownLineEnd_ = LineEndOf(file.text);
  shownRefusal_ = RefusalOf(bytes.status, file.exact, rich);
  SETTEXTEX how{ST_DEFAULT, 1200};
  if (rich) {
    how.codepage = CP_ACP;  // the rich text reads its own characters
    SendMessageW(pane, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(bytes.bytes.c_str()));
  } else {
    SendMessageW(pane, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(file.text.c_str()));
  }
  textextser_ = PaneText();
  std::wstring find = Text(control(kIdFind));
  size_t first = find.empty() ? std::wstring::npos : textextser_.find(find);
  intweinew_ = 0;
  if (first != std::wstring::npos) {
    Select(first, find.size(), focusPane);
    intweinew_ = first + find.size();
  }
  SetStatus(1, path);
  SetStatus(3, ShownSizeText(size));
  SetStatus(5, L"字数：" + std::to_wstring(textextser_.size()));
  SetStatus(7, L"制作时间： " + GeneralDateText(ModifiedTime(path)));
  tips_.Set(pane, L"文件：" + path);
}

std::wstring FormWord::PaneText() const {
  HWND pane = control(kIdPane);
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT n = SendMessageW(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
  if (n <= 0) return {};
  std::wstring text(size_t(n) + 1, L'\0');
  GETTEXTEX get{DWORD((n + 1) * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
  text.resize(
      size_t(SendMessageW(pane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void FormWord::Select(size_t at, size_t length, bool focus) {
  HWND pane = control(kIdPane);
  CHARRANGE range{LONG(at), LONG(at + length)};
  SendMessageW(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(pane, EM_SCROLLCARET, 0, 0);
  if (focus) SetFocus(pane);
}

// The menu key and Shift+F10 open the edit menu where the caret is, as the mouse opens it where it is.
void FormWord::PaneMenuFromKeyboard() {
  HWND pane = control(kIdPane);
  CHARRANGE range{};
  SendMessageW(pane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  POINTL at{};
  SendMessageW(pane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), range.cpMax);
  POINT p{at.x, at.y};
  RECT r{};
  GetClientRect(pane, &r);
  p.x = std::clamp<LONG>(p.x, 0, r.right);
  p.y = std::clamp<LONG>(p.y + common::ui::Twips(hwnd(), 240), 0, r.bottom);  // below the caret's line
  ClientToScreen(pane, &p);
  TrackPopupMenu(editMenu_, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
}

// The panels that show counts and sizes are as wide as their widest text in the window's font.
std::vector<int> FormWord::StatusWidths() {
  HWND w = hwnd();
  int pad = 240;  // the panel's edges and margins, in twips
  int sizes =
      std::max(TextTwips(w, ScanSizeText(uint64_t(INT32_MAX))), TextTwips(w, ShownSizeText(common::kLargeFileCap)));
  int counts = std::max(TextTwips(w, ScannedText(INT32_MAX)), TextTwips(w, L"字数：" + std::to_wstring(INT32_MAX)));
  return {3400, 60, sizes + pad, 60, counts + pad, 60, -1};
}

void FormWord::FindNext() {
  std::wstring needle = CaseFold::Get().Folded(Text(control(kIdFind)));
  if (auto at = FindNextHit(textextser_, needle, intweinew_)) return Select(*at, needle.size());
  common::MsgBox(hwnd(), kFindDone, MB_ICONINFORMATION);
}

bool FormWord::SaveAs(const std::wstring& path) {
  if (shownRefusal_ != SaveRefusal::kNone && common::EqualsNoCase(path, shownPath_)) {
    common::MsgBox(hwnd(), SaveRefusedText(shownRefusal_, path), MB_ICONERROR);
    return false;
  }
  std::wstring text;
  for (wchar_t c : PaneText()) {
    if (c == L'\r')
      text += shownLineEnd_;
    else
      text += c;
  }
  common::TextWrite w = common::WriteTextFile(path, text, shownFormat_, common::ChineseCodePage());
  if (!w.ok())
    common::MsgBox(hwnd(), SaveFailedText(path, w.status == common::WriteStatus::kNotHeld, w.notHeld), MB_ICONERROR);
  return w.ok();
}

void FormWord::SaveAsClick() {
  wchar_t file[32768] = {};
  lstrcpynW(file, shownPath_.c_str(), 32768);
  OPENFILENAMEW ofn{sizeof ofn};
  ofn.hwndOwner = hwnd();
  ofn.lpstrFile = file;
  ofn.nMaxFile = 32768;
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (GetSaveFileNameW(&ofn)) SaveAs(file);
}

bool FormWord::QueryUnload() {
  if (!searching_) return true;
  common::MsgBox(hwnd(), kNotStopped, MB_ICONINFORMATION);
  SetFocus(control(kIdStart));
  return false;
}

void FormWord::OnCommand(int id, int code) {
  HWND pane = control(kIdPane);
  switch (id) {
    case IDOK: {
      // Enter: a focused button does its own work, anywhere else the search starts or stops.
      HWND focus = GetFocus();
      int focusId = focus && GetParent(focus) == hwnd() ? GetDlgCtrlID(focus) : 0;
      if (focusId == kIdBrowse || focusId == kIdReplaceAll) return OnCommand(focusId, BN_CLICKED);
      return Command2Click();
    }
    case IDCANCEL: PostMessageW(hwnd(), WM_CLOSE, 0, 0); return;
    case kIdStart: return Command2Click();
    case kIdReplaceAll: return Command3Click();
    case kIdBrowse: return Command1Click();
    case kIdList:
      if (code == LBN_SELCHANGE) ListxClick(!listKeys_);
      return;
    case kIdFind:
      if (code == CBN_EDITCHANGE) {
        tips_.Set(control(kIdFind), Text(control(kIdFind)));
        if (!searching_) State().stopRequested = false;
      }
      return;
    case kIdTypes:
      if (code == CBN_EDITCHANGE) tips_.Set(control(kIdTypes), Text(control(kIdTypes)));
      if (code == CBN_SELCHANGE) {
        HWND types = control(kIdTypes);
        int i = int(SendMessageW(types, CB_GETCURSEL, 0, 0));
        std::wstring t(size_t(std::max<LRESULT>(0, SendMessageW(types, CB_GETLBTEXTLEN, i, 0))), L'\0');
        if (i >= 0) SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(t.data()));
        tips_.Set(types, t);
      }
      return;
    case kSaveAs: return SaveAsClick();
    case kExit: PostMessageW(GetWindow(hwnd(), GW_OWNER), WM_CLOSE, 0, 0); return;
    case kCut: SendMessageW(pane, WM_CUT, 0, 0); return;
    case kCopy: SendMessageW(pane, WM_COPY, 0, 0); return;
    case kPaste: SendMessageW(pane, WM_PASTE, 0, 0); return;
    case kSelectAll: SendMessageW(pane, EM_SETSEL, 0, -1); return;
    case kFind: return FindNext();
  }
  if (id >= kLaunch && id < kLaunch + kLauncherCount) RunLauncher(id - kLaunch);
}

LRESULT FormWord::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_CLOSE:
      if (QueryUnload()) Destroy();
      return 0;
    case WM_DESTROY:
      if (accel_) DestroyAcceleratorTable(accel_);
      accel_ = nullptr;
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == control(kIdPane)) {
        if (GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) return PaneMenuFromKeyboard(), 0;
        TrackPopupMenu(editMenu_, TPM_RIGHTBUTTON, GET_X_LPARAM(lp), GET_Y_LPARAM(lp), 0, hwnd(), nullptr);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (HoldBusyCursor()) return TRUE;
      if (reinterpret_cast<HWND>(wp) == hwnd() && LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (OverSplitter(p.x, p.y)) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
      if (OverSplitter(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) {
        dragging_ = true;
        SetCapture(hwnd());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        listWidth_ = common::ui::PixelsToTwips(hwnd(), GET_X_LPARAM(lp)) - 60 - kGap / 2;
        Layout();
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_ && msg == WM_LBUTTONUP) ReleaseCapture();
      dragging_ = false;
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
