#include "guard/monitors/win/formautorun.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "common/path.h"
#include "common/text.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/shell_icon.h"
#include "common/win/system.h"
#include "common/win/ui/placement.h"
#include "guard/monitors/autorun_rules.h"
#include "guard/monitors/win/autorun_files.h"
#include "guard/monitors/win/autorun_policy.h"
#include "guard/process/win/file_details.h"
#include "guard/guard_state.h"

namespace zorvix {
namespace {
// The sound library is loaded for the alert only: a resident guard would otherwise hold it, and the
// audio drivers it loads, from its start for a sound it may never play.
void PlayAlert(const std::wstring& wav) {
  using Fn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  static HMODULE winmm = LoadLibraryW(L"winmm.dll");
  static auto play = common::FindProc<Fn>(winmm, "PlaySoundW");
  if (play) play(wav.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}


// The clear button is not IDOK: Enter must not clear unless the button itself has the focus.
enum : int { kIdList = 10, kIdLink = 11, kIdClear = 12, kTimer1 = 1 };
enum AlertColumn { kAlertFile, kAlertAttr, kAlertPath, kAlertSize, kAlertCreated };
constexpr int kWidthTwips = 9600, kHeightTwips = 5600;
constexpr wchar_t kLinkText[] = L"<a>如果反复清除不尽，请安装《系统急救箱》（点此下载）</a>";
constexpr wchar_t kHidden[] = L"隐藏";
constexpr wchar_t kKept[] = L"不予删除";
constexpr wchar_t kFailed[] = L"删除失败";
constexpr wchar_t kKeptNote[] = L"标为“不予删除”的文件不在该磁盘上或属于系统，清除时不会删除。";
constexpr wchar_t kFailedNote[] = L"标为“删除失败”的文件没能删除，可能正被使用。请关闭相关程序后再次清除。";
constexpr wchar_t kHiddenNote[] = L"没有管理员权限，无法打开“显示隐藏文件”的设置，隐藏的文件可能仍然看不到。";

}  // namespace

FormAutoRun::FormAutoRun()
    : deleteFile([](const std::wstring& path, const std::wstring& root) {
        return DeleteListedFile(path, root, Guard().windowsFolder);
      }),
      writePolicy(WritePolicyDword) {}

FormAutoRun::~FormAutoRun() { Destroy(); }

bool FormAutoRun::Load() {
  if (loaded()) return true;
  // Top-most from its creation: placing it so later would make it the active window.
  if (!Create(L"ZorvixFormAutoRun", kAutorunCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT | WS_EX_TOPMOST, 0, 0, 0, 0, nullptr, nullptr,
              LoadIconW(GetModuleHandleW(nullptr), L"APPICON")))
    return false;
  CreateControls();
  common::SetDialogKeys(hwnd());  // Tab, Alt+Y / Alt+C, Esc for later
  int w = common::ui::Twips(hwnd(), kWidthTwips), h = common::ui::Twips(hwnd(), kHeightTwips);
  common::ui::PlaceOver(hwnd(), nullptr, w, h);
  Layout();
  open_.emplace(Guard().askWindowOpen);
  // Hidden files can be shown, so that the user sees what the cleaner removes. A refusal is told in the
  // window, not by a box: the user has not asked for anything yet.
  hiddenShown_ = writePolicy(kShowAllKey, L"CheckedValue", 1);
  ShowNotes();
  PlayAlert(common::ExtendedPath(common::JoinPath(common::AppFolder(), L"\\sys\\alert.wav")));
  SetTimer(hwnd(), kTimer1, 500, nullptr);
  return true;
}

void FormAutoRun::CreateControls() {
  using common::ui::CreateControl;
  label1_ = CreateControl(hwnd(), L"STATIC", kAutorunHeading, SS_LEFT | SS_NOPREFIX, 0);
  lvw_.Create(hwnd(), kIdList, WS_TABSTOP);
  lvw_.AddColumn(L"文件名称", 1500);
  lvw_.AddColumn(L"属性", 800);
  lvw_.AddColumn(L"文件路径", 3600);
  lvw_.AddColumn(L"大小(B)", 1100, common::ui::ListView::Align::Right);
  lvw_.AddColumn(L"创建时间", 1900);
  icons_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  lvw_.SetSmallImages(icons_);
  label3_ = CreateControl(hwnd(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0);
  label2_ = CreateControl(hwnd(), WC_LINK, kLinkText, WS_TABSTOP, kIdLink);
  command1_ = CreateControl(hwnd(), L"BUTTON", L"立即清除(&Y)", BS_PUSHBUTTON | WS_TABSTOP, kIdClear);
  command2_ = CreateControl(hwnd(), L"BUTTON", L"以后再说(&C)", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
}

void FormAutoRun::Layout() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int w = common::ui::PixelsToTwips(hwnd(), rc.right), h = common::ui::PixelsToTwips(hwnd(), rc.bottom);
  common::ui::MoveTwips(label1_, 150, 150, w - 300, 300);
  common::ui::MoveTwips(lvw_.hwnd(), 150, 500, w - 300, h - 1900);
  common::ui::MoveTwips(label3_, 150, h - 1330, w - 300, 480);
  common::ui::MoveTwips(label2_, 150, h - 700, w - 3300, 300);
  common::ui::MoveTwips(command1_, w - 3000, h - 800, 1350, 450);
  common::ui::MoveTwips(command2_, w - 1550, h - 800, 1350, 450);
}

void FormAutoRun::Show() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void FormAutoRun::SetHeading(const std::wstring& text) { SetWindowTextW(label1_, text.c_str()); }
std::wstring FormAutoRun::heading() const { return common::ui::WindowText(label1_); }
std::wstring FormAutoRun::status() const { return common::ui::WindowText(label3_); }

void FormAutoRun::addlist(const std::wstring& softpath, const std::wstring& root, bool deletable) {
  if (!loaded()) return;
  FileDetails details = ReadFileDetails(softpath);
  long long size = common::FileSize(softpath);
  int image = icons_.Find(softpath);
  if (image < 0) image = icons_.Add(softpath, common::GetFileIcon(softpath, true).get());
  std::wstring key = L"#" + std::to_wstring(nextKey_++);
  int row = lvw_.Add(key, common::FileNameOf(softpath), image);
  lvw_.SetText(row, kAlertAttr, deletable ? kHidden : kKept);
  lvw_.SetText(row, kAlertPath, softpath);
  // The size as the "##,###,###" picture shows it: grouped digits, nothing for 0.
  lvw_.SetText(row, kAlertSize, size > 0 ? common::FormatThousands(uint64_t(size)) : L"");
  lvw_.SetText(row, kAlertCreated, details.created);
  rows_.push_back({softpath, root, deletable});
  if (!deletable) rowsNote_ = kKeptNote;
  ShowNotes();
}

void FormAutoRun::ShowNotes() {
  std::wstring text = rowsNote_ ? rowsNote_ : L"";
  if (!hiddenShown_) text += (text.empty() ? L"" : L"\r\n") + std::wstring(kHiddenNote);
  SetWindowTextW(label3_, text.c_str());
}

void FormAutoRun::Command1Click() {
  EnableWindow(command1_, FALSE);
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  common::PumpMessages();
  if (!loaded()) return;  // closed while the messages ran
  bool failed = false;
  for (int row = 0; row < lvw_.Count();) {
    const Row& r = rows_[std::stoul(lvw_.Key(row).substr(1))];
    if (r.deletable && deleteFile(r.path, r.root)) {
      lvw_.Remove(row);
      continue;
    }
    if (r.deletable) {
      failed = true;
      lvw_.SetText(row, kAlertAttr, kFailed);
    }
    ++row;
  }
  bool autorunOff = writePolicy(kExplorerPolicyKey, L"NoDriveTypeAutoRun", 0xDF);
  SetCursor(old);
  if (!autorunOff)
    common::MsgBox(hwnd(), PolicyRefusedText(kExplorerPolicyKey, L"NoDriveTypeAutoRun"), MB_ICONWARNING | MB_OK);
  if (!loaded()) return;
  if (lvw_.Count() == 0) {
    Destroy();
    return;
  }
  // What could not or must not be deleted stays listed, and the window says why.
  rowsNote_ = failed ? kFailedNote : kKeptNote;
  ShowNotes();
  EnableWindow(command1_, TRUE);
}

void FormAutoRun::Command2Click() {
  Guard().autorunScanPaused = true;
  Destroy();
}

void FormAutoRun::Label2Click() { common::ShellOpen(kRescueToolSite); }

void FormAutoRun::Timer1Tick() {
  bool shown = common::ui::WindowText(hwnd()) == kAutorunCaption;
  SetWindowTextW(hwnd(), shown ? L"" : kAutorunCaption);
}

void FormAutoRun::Closed() {
  KillTimer(hwnd(), kTimer1);
  open_.reset();
  rows_.clear();
  nextKey_ = 0;
  rowsNote_ = nullptr;
  hiddenShown_ = true;
}

LRESULT FormAutoRun::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: if (wp == kTimer1) Timer1Tick(); return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kIdClear && HIWORD(wp) == BN_CLICKED) Command1Click();
      else if (LOWORD(wp) == IDCANCEL && HIWORD(wp) == BN_CLICKED) Command2Click();
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->idFrom == kIdLink && (hdr->code == NM_CLICK || hdr->code == NM_RETURN)) Label2Click();
      return 0;
    }
    case WM_ACTIVATE: {
      LRESULT r = Default(msg, wp, lp);
      // Activated by a click or Alt+Tab: the keys start in the list, where Enter and Space clear nothing.
      if (LOWORD(wp) != WA_INACTIVE && !IsChild(hwnd(), GetFocus())) SetFocus(lvw_.hwnd());
      return r;
    }
    case WM_CLOSE: Destroy(); return 0;
    case WM_DESTROY: Closed(); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
