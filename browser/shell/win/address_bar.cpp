// The address strip of the frame: the address box `TextUrl` with its list `Comb` and `CmdGo`, the
// parent-folder items, the search box `CombSearch` with `CmdSearch` and the engine menu.
#include "browser/shell/win/frm_main.h"

#include <commctrl.h>

#include "common/text.h"
#include "common/win/msgbox.h"

namespace corvane {

void FrmMain::ControlNotify(HWND control, int code) {
  if (control == comb_) {
    if (code == CBN_SETFOCUS) TextUrl_GotFocus();
    if (code == CBN_EDITCHANGE) TextUrlChanged();
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) combDropped_ = code == CBN_DROPDOWN;
    // An address picked from the list: the active window goes there.
    if (code == CBN_SELENDOK && combDropped_) {
      int i = int(SendMessageW(comb_, CB_GETCURSEL, 0, 0));
      int len = i < 0 ? -1 : int(SendMessageW(comb_, CB_GETLBTEXTLEN, i, 0));
      std::wstring text(std::max(0, len), L'\0');
      if (len > 0) SendMessageW(comb_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      if (Formweb* page = ActivePage(); page && !text.empty()) page->Web().Navigate(text);
    }
  } else if (control == combSearch_) {
    if (code == CBN_SETFOCUS) CombSearch_GotFocus();
  } else if (code == BN_CLICKED) {
    if (control == cmdGo_) CmdGo_Click();
    if (control == cmdSearch_) {
      RECT r;
      GetWindowRect(cmdSearch_, &r);
      TrackPopupMenu(menus_.sousuo, TPM_LEFTALIGN, r.left, r.bottom, 0, hwnd(), nullptr);
    }
    if (control == image3_) Command(kHome);
    if (control == image2_) Command(kEnd);
    if (control == image4_) Command(kFullScreen);
    if (control == image5_) ShowSidePanel(false);
  }
}

void FrmMain::TextUrlChanged() {
  if (settingUrl_) return;  // our own replacement of the text below
  if (TextUrl() == kBlankPage) {
    settingUrl_ = true;
    SetWindowTextW(textUrl_, kUrlPrompt);
    settingUrl_ = false;
    SetFocus(textUrl_);
    int end = GetWindowTextLengthW(textUrl_);
    SendMessageW(textUrl_, EM_SETSEL, end, end);
    upItems_ = {};
  } else {
    upItems_ = ParentItems(TextUrl());
  }
  ShowUpItems();
  SendMessageW(toolbar_, TB_ENABLEBUTTON, kUpDir, upDirEnabled());
}

bool FrmMain::upDirEnabled() const { return !upItems_[0].empty(); }

void FrmMain::ShowUpItems() {
  while (GetMenuItemCount(menus_.up) > 0) DeleteMenu(menus_.up, 0, MF_BYPOSITION);
  for (int n = 0; n < kUpItems; ++n)
    if (!upItems_[n].empty()) AppendMenuW(menus_.up, MF_STRING, kUp1 + n, upItems_[n].c_str());
  // The View menu's "上层目录" is greyed while there is none.
  EnableMenuItem(menus_.view, UINT(reinterpret_cast<UINT_PTR>(menus_.up)),
                 MF_BYCOMMAND | (GetMenuItemCount(menus_.up) ? MF_ENABLED : MF_GRAYED));
}

void FrmMain::gourl(const std::wstring& text) {
  std::wstring typed = common::Trim(text), site;
  if (!typed.empty() && !IsAddressText(typed)) {
    // A word goes to the default search site; without one, the engine menu's message says what is missing.
    auto base = SiteAddress({kDefaultSearchSite, L""});
    if (!base) return;
    site = *base;
  }
  std::wstring address = GoAddress(typed, site);
  if (Formweb* page = ActivePage(); page && !address.empty()) page->Web().Navigate(address);
}

void FrmMain::EnterKey() {
  HWND focus = GetFocus();
  if (focus == textUrl_ || focus == comb_) CmdGo_Click();
  if (focus == searchEdit_ || focus == combSearch_) Search(DefaultEngineItem());
}

// Esc in the address box gives up the typed text for the page's own address; elsewhere it stops the page.
void FrmMain::EscapeKey() {
  Formweb* page = ActivePage();
  if (!page) return;
  HWND focus = GetFocus();
  if (focus != textUrl_ && focus != comb_) return page->Web().Stop();
  std::wstring address = page->Address();
  SetTextUrl(address.empty() ? kBlankPage : address);
  ApplyCaretRule(textUrl_);
}

void FrmMain::TextUrl_GotFocus() {
  if (urlFocusToggle_) return;  // the focus coming back from its round
  urlFocusToggle_ = true;
  // Through the page's focus holder and back: the page's control lets go of the keyboard.
  if (Formweb* page = ActivePage()) {
    SetFocus(page->Cmb());
    SetFocus(textUrl_);
  }
  urlFocusToggle_ = false;
  // After the click that brought the focus has placed its caret.
  PostMessageW(hwnd(), kMsgCaret, 0, reinterpret_cast<LPARAM>(textUrl_));
}

void FrmMain::ApplyCaretRule(HWND edit) {
  if (GetFocus() != edit) return;
  int end = GetWindowTextLengthW(edit);
  if (common::ui::WindowText(edit) == kUrlPrompt)
    SendMessageW(edit, EM_SETSEL, end, end);
  else
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void FrmMain::CombSearch_GotFocus() {
  if (searchFocusToggle_) return;
  searchFocusToggle_ = true;
  pasteselection();
  if (Formweb* page = ActivePage()) {
    SetFocus(page->Cmb());
    SetFocus(searchEdit_);
  }
  searchFocusToggle_ = false;
}

void FrmMain::pasteselection() {
  // Read from the page's own selection: the clipboard, and whatever the user keeps on it, is left alone.
  Formweb* page = ActivePage();
  std::wstring text = page ? page->Web().SelectedText() : L"";
  if (!text.empty()) SetSearchText(text);
}

std::wstring FrmMain::SearchText() const { return common::ui::WindowText(searchEdit_); }
void FrmMain::SetSearchText(const std::wstring& text) { SetWindowTextW(searchEdit_, text.c_str()); }

bool FrmMain::searchempty() {
  std::wstring word = SearchText();
  if (common::Trim(word).empty()) return true;
  if (SendMessageW(combSearch_, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(word.c_str())) == CB_ERR)
    SendMessageW(combSearch_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str()));
  return false;
}

void FrmMain::Search(int engineItem) {
  auto engines = EngineItems();
  if (engineItem < 0 || engineItem >= int(engines.size()) || searchempty()) return;
  const EngineItem& item = engines[engineItem];
  std::wstring word = item.withWord ? EncodeWord(SearchText()) : L"";
  for (const SiteLink& link : item.links)
    if (link.site)
      if (auto address = SiteAddress(link)) loadnewform(*address + word);
}

void FrmMain::OpenSite(const SiteItem& site) {
  for (const SiteLink& link : site.links)
    if (link.path)
      if (auto address = SiteAddress(link)) loadnewform(*address);
}

std::optional<std::wstring> FrmMain::SiteAddress(const SiteLink& link) {
  auto address = hosts_.Address(link, folder_);
  if (!address)
    common::MsgBox(hwnd(),
                   L"网站“" + std::wstring(link.site) + L"”的地址没有设置，请在文件 " + folder_ + kSitesFile +
                       L" 中加上一行：" + link.site + L", 网站地址",
                   MB_OK | MB_ICONWARNING);
  return address;
}

std::wstring FrmMain::ProgramFile(const wchar_t* name) const { return folder_.substr(0, folder_.size() - 1) + name; }

void FrmMain::Stat_PanelClick(int panel) {
  if (panel != 7) return;
  // The address after the panel's prefix ("远程主机IP地址： ", "本机IP地址： ").
  std::wstring text = Panel(7);
  size_t prefix = text.find(L"： ");
  std::wstring address = prefix != std::wstring::npos ? text.substr(prefix + 2)
                         : text.size() > 10           ? text.substr(10)
                                                      : L"";
  if (!address.empty()) CopyText(address);
}

}  // namespace corvane
