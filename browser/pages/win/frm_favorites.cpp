#include "browser/pages/win/frm_favorites.h"

#include <commctrl.h>

#include "browser/pages/favorites.h"
#include "browser/pages/win/favorites_files.h"
#include "browser/pages/win/menu_pictures.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/ui/form.h"

namespace corvane {
namespace {
using common::ui::CreateControl;
using common::ui::MoveTwips;
constexpr wchar_t kOverwriteAsk[] = L"同名收藏夹已经存在，是否覆盖？  ";

std::wstring WriteFailed(const std::wstring& title) {
  return L"对不起！收藏夹“ " + title + L" ”无法保存，请检查收藏夹目录是否可以写入……    ";
}

std::wstring TitleRefused(const std::wstring& title) {
  return L"对不起！网站名称“ " + title + L" ”中没有可以用作文件名的字符，请你另外起个名字吧……    ";
}
}  // namespace

bool FrmFavorites::Create(HWND owner, const std::wstring& url, const std::wstring& title) {
  if (!common::ui::CreateForm(*this, L"CorvaneFrmFavorites", L"添加到收藏夹", 6900, 3500, owner)) return false;
  HWND picture = CreateControl(hwnd(), L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, 0);
  SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(PageIcon()), 0);
  HWND hint = CreateControl(hwnd(), L"STATIC", L"《Corvane浏览器》 将把该页添加到您的收藏夹列表中……", SS_LEFT, kHint);
  HWND titleLabel = CreateControl(hwnd(), L"STATIC", L"网站名称(&U)：", SS_LEFT, 0);
  txtTitle_ = CreateControl(hwnd(), L"EDIT", title, ES_AUTOHSCROLL | WS_TABSTOP, kTxtTitle, WS_EX_CLIENTEDGE);
  HWND urlLabel = CreateControl(hwnd(), L"STATIC", L"网站地址(&P)：", SS_LEFT, 0);
  txtUrl_ = CreateControl(hwnd(), L"EDIT", url, ES_AUTOHSCROLL | WS_TABSTOP, kTxtUrl, WS_EX_CLIENTEDGE);
  HWND offline = CreateControl(hwnd(), L"BUTTON", L"允许脱机使用", BS_AUTOCHECKBOX | WS_DISABLED, kOffline);
  HWND folderLabel = CreateControl(hwnd(), L"STATIC", L"选择目录(&S)：", SS_LEFT | WS_DISABLED, 0);
  // Favorites are always written to the top level; the folder choice only shows where.
  HWND folders = CreateControl(hwnd(), WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_DISABLED, kFolders);
  SendMessageW(folders, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFavoritesRootText));
  SendMessageW(folders, CB_SETCURSEL, 0, 0);
  HWND newFolder = CreateControl(hwnd(), L"BUTTON", L"新建目录", BS_PUSHBUTTON | WS_DISABLED, kNewFolder);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, kCmdOK);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, kCmdCancel);
  MoveTwips(picture, 180, 180, 480, 480);
  MoveTwips(hint, 780, 260, 5900, 300);
  MoveTwips(titleLabel, 180, 900, 1300, 300);
  MoveTwips(txtTitle_, 1500, 860, 3800, 330);
  MoveTwips(urlLabel, 180, 1400, 1300, 300);
  MoveTwips(txtUrl_, 1500, 1360, 3800, 330);
  MoveTwips(offline, 1500, 1860, 2400, 300);
  MoveTwips(folderLabel, 180, 2400, 1300, 300);
  MoveTwips(folders, 1500, 2360, 3800, 1500);
  MoveTwips(ok, 5500, 860, 1150, 400);
  MoveTwips(cancel, 5500, 1360, 1150, 400);
  MoveTwips(newFolder, 5500, 2340, 1150, 400);
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd(),
                         nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
  AddTip(txtTitle_);
  AddTip(txtUrl_);
  SendMessageW(txtTitle_, EM_SETSEL, 0, -1);
  return true;
}

void FrmFavorites::AddTip(HWND box) {
  std::wstring text = common::ui::WindowText(box);
  TTTOOLINFOW ti{sizeof ti};
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(box);
  ti.lpszText = text.data();
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void FrmFavorites::UpdateTip(HWND box) {
  std::wstring text = common::ui::WindowText(box);
  TTTOOLINFOW ti{sizeof ti};
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(box);
  ti.lpszText = text.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring FrmFavorites::TipText(HWND box) const {
  wchar_t buf[1024] = {};
  TTTOOLINFOW ti{sizeof ti};
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(box);
  ti.lpszText = buf;
  SendMessageW(tip_, TTM_GETTEXTW, std::size(buf), reinterpret_cast<LPARAM>(&ti));
  return buf;
}

void FrmFavorites::cmdOK_Click() {
  std::wstring title = common::ui::WindowText(txtTitle_), url = common::ui::WindowText(txtUrl_);
  if (title.empty() || url.empty()) return Destroy();
  std::wstring fileTitle = FavoriteFileTitle(title);
  // The dialog stays after a refusal, so that another title can be tried.
  if (fileTitle.empty()) {
    common::MsgBox(hwnd(), TitleRefused(title), MB_OK | MB_ICONERROR);
    SetFocus(txtTitle_);
    return;
  }
  SaveResult r = SaveFavorite(folder_, fileTitle, url, [this] {
    return common::MsgBox(hwnd(), kOverwriteAsk, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  });
  if (r == SaveResult::kFailed) {
    common::MsgBox(hwnd(), WriteFailed(fileTitle), MB_OK | MB_ICONERROR);
    SetFocus(txtTitle_);
    return;
  }
  saved_ = r == SaveResult::kSaved;
  Destroy();
}

LRESULT FrmFavorites::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCmdOK: cmdOK_Click(); break;
        case kCmdCancel: Destroy(); break;
        case kTxtTitle:
        case kTxtUrl:
          if (HIWORD(wp) == EN_CHANGE) UpdateTip(HWND(lp));
          break;
      }
      return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, txtTitle_); return 0;
    case WM_CLOSE: Destroy(); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
