#include "guard/monitors/win/formask.h"

#include <tlhelp32.h>

#include "common/path.h"
#include "common/text.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/text_file.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/startup_backup.h"
#include "guard/process/process_actions.h"
#include "guard/process/win/process_actions.h"

namespace zorvix {
namespace {

enum : UINT_PTR { kTimer1 = 1, kKeepAbove = 2 };
constexpr UINT kTimerMs = 200, kKeepAboveMs = 300;
constexpr DWORD kReleaseWaitMs = 3000;  // how long a delete waits for the ended program to let go
constexpr int kWidthTwips = 7800, kMargin = 150, kIconTwips = 480, kButtonTwips = 1300, kCascadePx = 24;

constexpr wchar_t kNetworkCaption[] = L"网络防火墙  -  可疑程序监控";
constexpr wchar_t kRegistryCaption[] = L"注册表监控  -  可疑程序监控";
constexpr wchar_t kNetworkQuestion[] = L"以下程序正在试图连接网络，您是否允许?";
constexpr wchar_t kRegistryQuestion[] = L"以下程序将在每次开机时都自动运行，您是否允许?";
constexpr wchar_t kHintText[] =
    L"操作提示：请“暂停时间”以后仔细查看文件信息……\r\n"
    L"如果您信任该程序，请单击“允许”执行。如果对该程序怀疑，请选择“拒绝”执行。";
constexpr wchar_t kModulesHeader[] = L"该文件模块信息如下：";
constexpr wchar_t kInfoFile[] = L"\\info.txt";
constexpr wchar_t kRunsOnText[] = L"注意：该程序不能被暂停，在您作出决定之前它仍在运行。";

std::vector<std::unique_ptr<Formask>>& Dialogs() {
  static std::vector<std::unique_ptr<Formask>> open;
  return open;
}

// Closed dialogs wait here until the next opening: a handler that closed its own dialog may still be
// on the stack.
std::vector<std::unique_ptr<Formask>>& Closed() {
  static std::vector<std::unique_ptr<Formask>> closed;
  return closed;
}

std::wstring SignerLine(const std::optional<std::wstring>& signer) {
  return signer ? L"数字签名： 有效，签名者 " + *signer : L"数字签名： 没有有效的数字签名";
}

HWND Control(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id) {
  return common::ui::CreateControl(parent, cls, text, style, id);
}

int TextHeight(HWND ctl, const std::wstring& text, int widthPx) {
  HDC dc = GetDC(ctl);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(ctl, WM_GETFONT, 0, 0)));
  RECT r{0, 0, widthPx, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(ctl, dc);
  return r.bottom;
}

// The value the text names: the first reading whose key holds such a value, the deepest key first. Returns
// what to tell the user when it stays.
std::optional<std::wstring> DeleteStartupValue(const std::wstring& regpath, const std::wstring& folder) {
  std::wstring backup = StartupBackupPath(folder);
  for (const RegLocation& at : RegPathReadings(regpath)) {
    RegRoot root = at.localMachine() ? RegRoot::LocalMachine : RegRoot::CurrentUser;
    StartDelete done = DeleteStartValue(root, at.key, RegView::Native, at.value, backup);
    if (done != StartDelete::Missing)
      return StartDeleteProblem(done, at.value, ShownLocation(root, at.key, RegView::Native, at.value), backup);
  }
  return std::nullopt;
}

}  // namespace

std::wstring InfoNotWrittenText(const std::wstring& file, const common::TextWrite& write) {
  std::wstring text = L"无法写入文件 " + file + L"。";
  if (write.status == common::WriteStatus::kNotHeld)
    text += L"\r\n\r\n其中的 " + write.notHeld + L" 含有本机编码不能保存的字符。";
  return text;
}

std::wstring EndFailedText(const std::wstring& name) { return L"无法终止进程【 " + name + L" 】，该程序仍在运行。"; }

std::wstring DeleteFileQuestion(const std::wstring& path) { return L"您确定要删除文件【 " + path + L" 】吗？    "; }

Formask::Formask(AskSubject subject, AskHooks hooks, std::unique_ptr<FrozenProcess> frozen)
    : subject_(std::move(subject)),
      hooks_(std::move(hooks)),
      frozen_(std::move(frozen)),
      countdown_(GetTickCount64()) {}

Formask* Formask::Open(AskSubject subject, AskHooks hooks, std::unique_ptr<FrozenProcess> frozen) {
  Closed().clear();
  std::unique_ptr<Formask> dialog(new Formask(std::move(subject), std::move(hooks), std::move(frozen)));
  if (!dialog->Load()) return nullptr;  // its destruction resumes a frozen program
  Dialogs().push_back(std::move(dialog));
  Formask* opened = Dialogs().back().get();
  opened->Activate();
  return opened;
}

std::vector<Formask*> Formask::OpenDialogs() {
  std::vector<Formask*> list;
  for (auto& d : Dialogs()) list.push_back(d.get());
  return list;
}

void Formask::UnloadAll(std::optional<AskMode> mode) {
  for (Formask* d : OpenDialogs())
    if (!mode || d->subject_.mode == *mode) d->Close(AskAnswer::Closed);
}

bool Formask::Load() {
  bool network = subject_.mode == AskMode::Network;
  if (!Create(L"ZorvixFormask", network ? kNetworkCaption : kRegistryCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
              WS_EX_TOPMOST | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, 0, 0, 100, 100))
    return false;
  modeBrush_ = CreateSolidBrush(network ? kNetworkColour : kRegistryColour);
  LOGFONTW lf{};
  GetObjectW(common::ui::UiFontOf(hwnd()), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  boldFont_ = CreateFontIndirectW(&lf);
  open_.emplace(Guard().askWindowOpen);
  common::SetDialogKeys(hwnd());
  CreateControls();
  return true;
}

void Formask::CreateControls() {
  bool network = subject_.mode == AskMode::Network;
  HWND h = hwnd();
  Control(h, L"STATIC", L"", SS_LEFT | WS_CLIPSIBLINGS, kLaback);
  HWND textask = Control(h, L"STATIC", network ? kNetworkQuestion : kRegistryQuestion, SS_LEFT | SS_NOPREFIX, kTextask);
  SendMessageW(textask, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  SetWindowPos(textask, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Control(h, L"STATIC", L"", SS_ICON, kImge);
  Control(h, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kLabel2);
  Control(h, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kSigner);
  Control(h, L"STATIC", kRunsOnText, SS_LEFT | SS_NOPREFIX, kRunsOn);
  const wchar_t* links[] = {L"查看目录", L"模块信息", L"删除文件"};
  for (int i = 0; i < 3; ++i) Control(h, L"BUTTON", links[i], BS_PUSHBUTTON | WS_TABSTOP, kCmd0 + i);
  Control(h, L"BUTTON", L"终止进程", BS_PUSHBUTTON | WS_TABSTOP, kCmdend);
  label4_ = Control(h, L"STATIC", countdown_.Text(), SS_LEFT | SS_NOPREFIX, kLabel4);
  label6_ = Control(h, L"STATIC", L"", SS_LEFT, kLabel6);
  Control(h, L"BUTTON", L"暂停时间", BS_PUSHBUTTON | WS_TABSTOP, kImage1);
  Control(h, L"STATIC", kHintText, SS_LEFT | SS_NOPREFIX, kHint);
  Control(h, L"BUTTON", L"以后该程序都按照本次操作执行。", BS_AUTOCHECKBOX | WS_TABSTOP, kChk);
  Control(h, L"BUTTON", L"允许(&Y)", BS_PUSHBUTTON | WS_TABSTOP, kCommand1);
  Control(h, L"BUTTON", L"本次允许", BS_DEFPUSHBUTTON | WS_TABSTOP, kCommand3);
  Control(h, L"BUTTON", L"拒绝(&N)", BS_PUSHBUTTON | WS_TABSTOP, kCommand2);
}

// Fills what depends on the program, sizes the dialog to it and shows it without taking the focus.
void Formask::Activate() {
  icon_ = common::GetFileIcon(subject_.FilePath, false);
  SendMessageW(control(kImge), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
  if (hooks_.fileInfo) report_ = hooks_.fileInfo(subject_.FilePath);
  SetWindowTextW(control(kLabel2), report_.c_str());
  if (hooks_.signer) {
    signer_ = hooks_.signer(subject_.FilePath);
    SetWindowTextW(control(kSigner), SignerLine(signer_).c_str());
  }
  process_ = subject_.mode == AskMode::Network ? subject_.process
             : hooks_.findProcess              ? hooks_.findProcess(subject_.FilePath)
                                               : ProcessIdentity{};
  int height = Layout();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{0, 0, common::ui::Twips(hwnd(), kWidthTwips), height};
  AdjustWindowRectEx(&outer, GetWindowLongW(hwnd(), GWL_STYLE), FALSE, GetWindowLongW(hwnd(), GWL_EXSTYLE));
  int w = outer.right - outer.left, hgt = outer.bottom - outer.top;
  int shift = kCascadePx * int((Dialogs().size() - 1) % 8);
  SetWindowPos(hwnd(), HWND_TOPMOST, std::max(work.left, work.right - w - 8 - shift),
               std::max(work.top, work.bottom - hgt - 8 - shift), w, hgt, SWP_NOACTIVATE);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  SetTimer(hwnd(), kTimer1, kTimerMs, nullptr);
  SetTimer(hwnd(), kKeepAbove, kKeepAboveMs, nullptr);
}

// Places the controls from the top down; returns the client height in pixels.
int Formask::Layout() {
  HWND h = hwnd();
  auto px = [h](int twips) { return common::ui::Twips(h, twips); };
  auto place = [&](int id, int left, int top, int width, int height) {
    MoveWindow(control(id), px(left), top, px(width), height, FALSE);
  };
  int width = kWidthTwips, line = px(270);
  place(kLaback, 0, 0, width, px(600));
  place(kTextask, kMargin, px(180), width - 2 * kMargin, px(300));
  int textLeft = 2 * kMargin + kIconTwips, textWidth = width - textLeft - kMargin;
  int reportHeight = TextHeight(control(kLabel2), report_, px(textWidth));
  place(kImge, kMargin, px(750), kIconTwips, px(kIconTwips));
  place(kLabel2, textLeft, px(750), textWidth, reportHeight);
  int y = px(750) + std::max(px(kIconTwips), reportHeight) + px(120);
  bool showSigner = hooks_.signer != nullptr;
  bool showRunsOn = subject_.mode == AskMode::Network && !frozen_;
  ShowWindow(control(kSigner), showSigner ? SW_SHOWNA : SW_HIDE);
  ShowWindow(control(kRunsOn), showRunsOn ? SW_SHOWNA : SW_HIDE);
  if (showSigner) place(kSigner, textLeft, y, textWidth, line), y += line + px(60);
  if (showRunsOn) place(kRunsOn, textLeft, y, textWidth, line), y += line + px(60);
  int button = px(360);
  for (int i = 0; i < 4; ++i)
    place(i < 3 ? kCmd0 + i : kCmdend, textLeft + i * (kButtonTwips + 90), y, kButtonTwips, button);
  y += button + px(180);
  place(kImage1, width - kMargin - kButtonTwips, y, kButtonTwips, button);
  place(kLabel4, kMargin, y + px(45), width - 3 * kMargin - kButtonTwips, line);
  y += button + px(60);
  place(kLabel6, kMargin, y, countdown_.BarTwips(), px(120));
  y += px(240);
  int hintHeight = TextHeight(control(kHint), kHintText, px(width - 2 * kMargin));
  place(kHint, kMargin, y, width - 2 * kMargin, hintHeight);
  y += hintHeight + px(120);
  place(kChk, kMargin, y, width - 2 * kMargin, px(300));
  y += px(420);
  int buttons[] = {kCommand1, kCommand3, kCommand2};
  for (int i = 0; i < 3; ++i)
    place(buttons[i], width - kMargin - (3 - i) * kButtonTwips - (2 - i) * 120, y, kButtonTwips, px(400));
  return y + px(400) + px(kMargin);
}

ProcessIdentity Formask::RunningProcess() const { return IsRunning(process_) ? process_ : ProcessIdentity{}; }

bool Formask::Chk() const { return SendMessageW(control(kChk), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Formask::SetChk(bool on) { SendMessageW(control(kChk), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void Formask::Timer1Tick(uint64_t nowMs) {
  if (closing_ || asking_) return;
  POINT p{};
  RECT r{};
  GetCursorPos(&p);
  GetWindowRect(hwnd(), &r);
  auto event = countdown_.Tick(nowMs, PointerInside(p.x, p.y, r.left, r.top, r.right, r.bottom));
  ShowWindow(label4_, countdown_.textVisible() ? SW_SHOWNA : SW_HIDE);
  if (event == Countdown::Event::Expired) return Deny(AskAnswer::TimedOut);
  if (event != Countdown::Event::Stepped) return;
  SetWindowTextW(label4_, countdown_.Text().c_str());
  RECT bar{};
  GetWindowRect(label6_, &bar);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  MoveWindow(label6_, bar.left, bar.top, common::ui::Twips(hwnd(), countdown_.BarTwips()), bar.bottom - bar.top, TRUE);
}

// The guard's other windows are top-most too; one shown later must not cover a dialog whose countdown
// runs. Raised without taking the focus.
void Formask::KeepAbove() {
  for (HWND above = GetWindow(hwnd(), GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(above, &pid);
    wchar_t cls[32]{};
    GetClassNameW(above, cls, 32);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(above) || std::wstring(cls) == L"ZorvixFormask") continue;
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
}

void Formask::Image1Click() {
  countdown_.Pause();
  KillTimer(hwnd(), kTimer1);
  HWND image1 = control(kImage1);
  SetWindowLongW(image1, GWL_STYLE, GetWindowLongW(image1, GWL_STYLE) | BS_FLAT);
  InvalidateRect(image1, nullptr, TRUE);
}

void Formask::Command1Click() {
  bool always = Chk();
  frozen_.reset();  // allowed: the program runs on at once, before the table is written and read
  if (always && subject_.mode == AskMode::Registry) RecordRegistry(true);
  if (always && subject_.mode == AskMode::Network && hooks_.addProgram) hooks_.addProgram(subject_.FilePath, 1);
  Close(always ? AskAnswer::AllowedAlways : AskAnswer::Allowed);
}

void Formask::Command3Click() {
  SetChk(false);
  Command1Click();
}

void Formask::Command2Click() { Deny(Chk() ? AskAnswer::DeniedAlways : AskAnswer::Denied); }

// A lasting decision comes only from the user's own click, never from the countdown.
void Formask::Deny(AskAnswer how) {
  bool always = how == AskAnswer::DeniedAlways;
  if (subject_.mode == AskMode::Registry) {
    if (always) RecordRegistry(false);
    // A value that stays is told, the countdown's deny too: the user would take it for gone.
    auto problem = hooks_.deleteStartupValue ? hooks_.deleteStartupValue(subject_)
                                             : DeleteStartupValue(subject_.regpath, Folder());
    if (problem) Ask(*problem, MB_ICONWARNING | MB_OK);
    return Close(how);
  }
  if (hooks_.dropConnection) hooks_.dropConnection(subject_.connection);
  if (always && hooks_.addProgram) hooks_.addProgram(subject_.FilePath, 0);
  if (ProcessIdentity running = RunningProcess(); running.pid) {
    EndResult ended = End(running);
    if (ended == EndResult::Failed || ended == EndResult::Critical)
      Ask(EndFailedText(common::FileNameOf(subject_.FilePath)), MB_ICONWARNING | MB_OK);
  }
  Close(how);
}

// A location the list file cannot keep holds for this run, and the user learns that it will not last.
void Formask::RecordRegistry(bool allow) {
  if (auto cannotKeep = RecordRegDecision(subject_.regpath, allow, hooks_.folder))
    Ask(*cannotKeep, MB_ICONWARNING | MB_OK);
}

EndResult Formask::End(const ProcessIdentity& process) {
  return hooks_.endProcess ? hooks_.endProcess(process) : EndPro(process.pid, process.started);
}

void Formask::CmdendClick() {
  ProcessIdentity running = RunningProcess();
  if (!running.pid) {
    Ask(kNotRunningText, MB_ICONINFORMATION | MB_OK);
    return;
  }
  std::wstring name = common::FileNameOf(subject_.FilePath);
  switch (End(running)) {
    case EndResult::Critical: Ask(CriticalRefusalText(name), MB_ICONWARNING | MB_OK); return;
    case EndResult::Failed: Ask(EndFailedText(name), MB_ICONWARNING | MB_OK); return;
    case EndResult::Ended:
    case EndResult::NotSame: break;  // ended now, or gone already
  }
  Close(AskAnswer::Ended);
}

void Formask::CmdClick(int index) {
  switch (index) {
    case 0:
      if (hooks_.openFolder)
        hooks_.openFolder(subject_.FilePath);
      else
        OpenFolderSelect(subject_.FilePath);
      break;
    case 1: ListModules(); break;
    case 2: EndAndDeleteFile(); break;
  }
}

void Formask::ListModules() {
  ProcessIdentity running = RunningProcess();
  if (!running.pid) {
    Ask(kNoModulesText, MB_ICONINFORMATION | MB_OK);
    return;
  }
  std::wstring text = std::wstring(kModulesHeader) + L"\r\n";
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, running.pid);
  if (snap != INVALID_HANDLE_VALUE) {
    MODULEENTRY32W me{sizeof me};
    for (BOOL more = Module32FirstW(snap, &me); more; more = Module32NextW(snap, &me))
      if (me.th32ProcessID == running.pid) text += common::CutAtNul(me.szExePath) + L"\r\n";
    CloseHandle(snap);
  }
  std::wstring file = common::JoinPath(Folder(), kInfoFile);
  common::TextWrite written = common::WriteTextFile(file, text);
  if (!written.ok()) {
    // An old list would pass for this program's: nothing is opened.
    Ask(InfoNotWrittenText(file, written), MB_ICONWARNING | MB_OK);
    return;
  }
  if (hooks_.openFile)
    hooks_.openFile(file);
  else
    common::ShellOpen(file);
}

void Formask::EndAndDeleteFile() {
  std::wstring path = subject_.FilePath;
  if (Ask(DeleteFileQuestion(path), MB_ICONWARNING | MB_OKCANCEL) != IDOK) return Close(AskAnswer::Closed);
  if (closing_) return;
  if (ProcessIdentity running = RunningProcess();
      running.pid && End(running) == EndResult::Ended)
    WaitProcessGone(running.pid, running.started, kReleaseWaitMs, hwnd());  // the file is locked until then
  bool deleted = DeleteFileSilent(path);
  if (!deleted) Ask(DeleteFailText(path), MB_ICONWARNING | MB_OK);
  Close(deleted ? AskAnswer::FileDeleted : AskAnswer::Closed);
}

// A message box of the dialog; the countdown waits meanwhile, so that it cannot close the dialog
// under the box.
int Formask::Ask(const std::wstring& text, UINT flags) {
  asking_ = true;
  int answer = common::MsgBox(hwnd(), text, flags);
  asking_ = false;
  return answer;
}

std::wstring Formask::Folder() const { return hooks_.folder.empty() ? common::AppFolder() : hooks_.folder; }

void Formask::Close(AskAnswer answer) {
  if (closing_) return;
  Finish(answer);
  DestroyWindow(hwnd());
}

// The closing steps, once: the count of open ask windows, the opener's own steps, then the program's
// threads run again.
void Formask::Finish(AskAnswer answer) {
  closing_ = true;
  KillTimer(hwnd(), kTimer1);
  KillTimer(hwnd(), kKeepAbove);
  open_.reset();
  frozen_.reset();  // first: what the opener does next may take long
  if (hooks_.closed) hooks_.closed(subject_, answer);
}

void Formask::OnGone() {
  if (modeBrush_) DeleteObject(modeBrush_);
  if (boldFont_) DeleteObject(boldFont_);
  modeBrush_ = nullptr;
  boldFont_ = nullptr;
  auto& open = Dialogs();
  for (auto it = open.begin(); it != open.end(); ++it)
    if (it->get() == this) {
      Closed().push_back(std::move(*it));
      open.erase(it);
      break;
    }
}

LRESULT Formask::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) Timer1Tick(GetTickCount64());
      if (wp == kKeepAbove) KeepAbove();
      return 0;
    case WM_CLOSE: Close(AskAnswer::Closed); return 0;
    case WM_DESTROY:
      if (!closing_) Finish(AskAnswer::Closed);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      switch (LOWORD(wp)) {
        case kCommand1: Command1Click(); return 0;
        case kCommand3:
        case IDOK: Command3Click(); return 0;
        case kCommand2: Command2Click(); return 0;
        case kCmdend: CmdendClick(); return 0;
        case kCmd0:
        case kCmd1:
        case kCmd2: CmdClick(LOWORD(wp) - kCmd0); return 0;
        case kImage1: Image1Click(); return 0;
        case IDCANCEL: Close(AskAnswer::Closed); return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HWND ctl = reinterpret_cast<HWND>(lp);
      int id = GetDlgCtrlID(ctl);
      HDC dc = reinterpret_cast<HDC>(wp);
      if (id == kLaback || id == kTextask || id == kLabel6) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, subject_.mode == AskMode::Network ? kNetworkColour : kRegistryColour);
        return reinterpret_cast<LRESULT>(modeBrush_);
      }
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, id == kRunsOn ? RGB(192, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
