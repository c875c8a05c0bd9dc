#include "search/engine/win/form_search.h"

#include <commctrl.h>

#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"
#include "common/win/ui/tool_tip.h"
#include "common/win/ui/window.h"
#include "search/engine/search_state.h"
#include "search/engine/win/busy.h"
#include "search/engine/win/drives.h"
#include "search/engine/win/file_ops.h"
#include "search/engine/win/frm_main.h"

namespace sercavo {
namespace {
constexpr UINT kActivate = WM_APP + 1;

void AddToList(HWND combo, const std::wstring& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

bool FormSearch::Load(const std::wstring& caption) {
  HWND owner = main_.hwnd();
  if (!common::ui::CreateForm(*this, kFormSearchClass, caption, 6200, 2300, owner)) return false;
  CreateControls();
  FillDriveList();
  for (const std::wstring& k : State().keywordHistory.items()) AddToList(comb_[0], k);
  std::wstring pending = main_.TakePendingFolder();
  if (!pending.empty()) SetWindowTextW(comb_[1], pending.c_str());
  return true;
}

void FormSearch::CreateControls() {
  using common::ui::Put;
  HWND w = hwnd();
  Put(w, L"STATIC", L"关键词 ：", 0, -1, 200, 260, 1000, 300);
  Put(w, L"STATIC", L"搜索范围：", 0, -1, 200, 760, 1000, 300);
  Put(w, L"STATIC", L"文件类型：", 0, -1, 200, 1260, 1000, 300);
  Put(w, L"STATIC", L"文件小于：", 0, -1, 3000, 1260, 1000, 300);
  DWORD combo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
  comb_[0] = Put(w, WC_COMBOBOXW, L"", combo, kIdKeyword, 1200, 200, 3500, 2000);
  comb_[1] = Put(w, WC_COMBOBOXW, L"", combo, kIdRange, 1200, 700, 3100, 2000);
  SetWindowTextW(comb_[1], kMyComputer);  // a combo box takes its text only once made
  // Boxes no search reads; they keep the window's familiar look.
  Put(w, L"EDIT", L"*.*", ES_AUTOHSCROLL | WS_TABSTOP, kIdType, 1200, 1200, 1600, 330, WS_EX_CLIENTEDGE);
  Put(w, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kIdSize, 4000, 1200, 700, 330, WS_EX_CLIENTEDGE);
  cmd2_ = Put(w, L"BUTTON", L"...", BS_PUSHBUTTON | WS_TABSTOP, kIdBrowse, 4350, 700, 350, 330);
  cmd1_ = Put(w, L"BUTTON", kSearchS, BS_DEFPUSHBUTTON | WS_TABSTOP, kIdSearch, 4900, 200, 1100, 400);
  common::ui::AddToolTip(w, cmd2_, L"浏览文件夹");
}

void FormSearch::FillDriveList() {
  for (const std::wstring& root : LogicalDrives()) AddToList(comb_[1], root);
}

void FormSearch::ShowModal() {
  HWND owner = main_.hwnd();
  PostMessageW(hwnd(), kActivate, 0, 0);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(comb_[0]);
  common::ui::RunModal(*this, owner);
  // Closed without a search running: the main button must not go on claiming one.
  if (!main_.searching() && main_.Command1Caption() == kStopS) main_.SetCommand1Caption(kSearchS);
}

std::wstring FormSearch::Command1Caption() const { return common::ui::WindowText(cmd1_); }

void FormSearch::Command1Click() {
  SearchState& st = State();
  // Stop first: whatever the boxes hold now, a running search always stops.
  if (Command1Caption() == kStopS) {
    SetWindowTextW(cmd1_, kSearchS);
    main_.SetCommand1Caption(kSearchS);
    main_.SetStatus(1, kStoppedText);
    st.stopRequested = true;
    return;
  }
  std::wstring keyword = common::ui::WindowText(comb_[0]);
  if (keyword.empty() && st.searchMode == kName) return;
  if (common::ui::WindowText(comb_[1]).empty()) SetWindowTextW(comb_[1], kMyComputer);
  // Never two walks at once: this window's stopped one still unwinding (a second click on stop) is let
  // be; the text search's, this click coming from its pump step, is told.
  if (main_.searching() || main_.RefuseWhileWalking()) return;
  st.searchKeyword = keyword;
  SetWindowTextW(cmd1_, kStopS);
  main_.SetCommand1Caption(kStopS);
  if (!keyword.empty()) {
    AddToList(comb_[0], keyword);
    st.keywordHistory.Add(keyword);
  }
  main_.ClosePreview();
  st.stopRequested = false;
  if (!main_.Search(common::ui::WindowText(comb_[1]))) {  // it never ran: nothing to report done
    if (hwnd()) SetWindowTextW(cmd1_, kSearchS);
    main_.SetCommand1Caption(kSearchS);
    return;
  }
  if (!hwnd() || Command1Caption() != kStopS) return;  // closed or stopped meanwhile
  main_.SetCommand1Caption(kSearchS);
  Close();
  main_.SetStatus(1, kStoppedText);
  common::MsgBox(main_.hwnd(), L"搜索完毕！   ", MB_ICONINFORMATION);
}

void FormSearch::Command2Click() {
  std::wstring folder = BrowseForFolder(hwnd());
  if (folder != L"\\") SetWindowTextW(comb_[1], folder.c_str());
}

void FormSearch::Activate() {
  if (State().searchMode >= kMovies) Command1Click();
}

void FormSearch::Close() {
  EnableWindow(main_.hwnd(), TRUE);
  Destroy();
}

LRESULT FormSearch::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kActivate: Activate(); return 0;
    case WM_SETCURSOR:
      if (HoldBusyCursor()) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return 0;
      // Enter in either box searches (or stops); on the browse button it browses; Esc closes.
      if (LOWORD(wp) == kIdSearch || (LOWORD(wp) == IDOK && GetFocus() != cmd2_)) Command1Click();
      if (LOWORD(wp) == kIdBrowse || (LOWORD(wp) == IDOK && GetFocus() == cmd2_)) Command2Click();
      if (LOWORD(wp) == IDCANCEL) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      // Closing during a walk stops it, as the stop button would.
      if (main_.searching()) {
        State().stopRequested = true;
        main_.SetCommand1Caption(kSearchS);
        main_.SetStatus(1, kStoppedText);
      }
      Close();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
