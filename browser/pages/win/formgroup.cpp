#include "browser/pages/win/formgroup.h"

#include <iterator>

#include "browser/pages/groups.h"
#include "browser/pages/win/group_files.h"
#include "browser/pages/win/input_box.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/files/win/browser_files.h"
#include "common/text.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/ui/form.h"

namespace corvane {
namespace {
using common::MsgBox;
using common::ui::CreateControl;
using common::ui::MoveTwips;
using common::ui::Twips;

constexpr wchar_t kTooMany[] = L"网站群组的总数不能超过三十个，您可以事先删除其他一些网站群组  ";
constexpr wchar_t kNamePrompt[] = L"请您输入新的网站群组名称：";
constexpr wchar_t kExplanation[] =
    L"说明：\r\n"
    L"系统允许设置的网站群组总数最多是三十个。首次使用时，系统已经\r\n"
    L"为您提供了十个网站群组。您可以重新设置这些网站群组的名称和内\r\n"
    L"容。";

struct Button {
  int key;
  int image;
  const wchar_t* tip;
};
constexpr Button kButtons[] = {
    {Formgroup::kBuild, STD_FILENEW, L"新建网站群组"}, {Formgroup::kRename, STD_PROPERTIES, L"网站群组改名"},
    {Formgroup::kDel, STD_DELETE, L"删除网站群组"},    {Formgroup::kSave, STD_FILESAVE, L"保存网站群组"},
    {Formgroup::kCopy, STD_COPY, L"复制文本"},         {Formgroup::kMove, STD_CUT, L"剪切文本"},
    {Formgroup::kZhan, STD_PASTE, L"粘贴文本"},        {Formgroup::kCancel, STD_UNDO, L"撤消文本修改"}};
}  // namespace

Formgroup::~Formgroup() { Destroy(); }

bool Formgroup::Create(HWND owner) {
  if (!common::ui::CreateForm(*this, L"CorvaneFormgroup", L"网站群组 设置", 8000, 6300, owner)) return false;
  CreateToolbar();
  tvw_ = CreateControl(hwnd(), WC_TREEVIEWW, L"",
                       TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS | WS_TABSTOP, kTvw,
                       WS_EX_CLIENTEDGE);
  images_ = CreatePicturesList();
  TreeView_SetImageList(tvw_, images_, TVSIL_NORMAL);
  hint_ = CreateControl(hwnd(), L"STATIC", L"网站群组的内容，每行只允许填写一个网站地址", SS_LEFT, kHint);
  text1_ = CreateControl(hwnd(), L"EDIT", L"",
                         ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                             WS_TABSTOP,
                         kText1, WS_EX_CLIENTEDGE);
  SendMessageW(text1_, EM_SETLIMITTEXT, 0, 0);  // a group may be long; the default limit stops typing
  explain_ = CreateControl(hwnd(), L"STATIC", kExplanation, SS_LEFT, kExplain);
  Layout();
  LoadTree();
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'N', kBuild}, {FVIRTKEY, VK_F2, kRename}, {FCONTROL | FVIRTKEY, 'S', kSave}};
  accel_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
  common::SetDialogKeys(hwnd(), accel_);
  return true;
}

void Formgroup::CreateToolbar() {
  toolbar1_ = CreateControl(hwnd(), TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER,
                            kToolbar1);
  SendMessageW(toolbar1_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The tips are the buttons' texts, shown only as tips.
  SendMessageW(toolbar1_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  SendMessageW(toolbar1_, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, LPARAM(HINST_COMMCTRL));
  for (const Button& b : kButtons) {
    TBBUTTON tb{};
    tb.iBitmap = b.image;
    tb.idCommand = b.key;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = BTNS_BUTTON;
    tb.iString = reinterpret_cast<INT_PTR>(b.tip);
    SendMessageW(toolbar1_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    if (b.key == kSave) {  // the group buttons, then the text buttons
      TBBUTTON sep{};
      sep.fsStyle = BTNS_SEP;
      SendMessageW(toolbar1_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&sep));
    }
  }
  SendMessageW(toolbar1_, TB_AUTOSIZE, 0, 0);
}

void Formgroup::Layout() {
  RECT tb;
  GetWindowRect(toolbar1_, &tb);
  int top = common::ui::PixelsToTwips(hwnd(), tb.bottom - tb.top) + 60;
  MoveTwips(tvw_, 120, top, 2600, 3900);
  MoveTwips(hint_, 2850, top, 4850, 300);
  MoveTwips(text1_, 2850, top + 330, 4850, 3570);
  MoveTwips(explain_, 120, top + 4020, 7600, 1100);
}

void Formgroup::LoadTree() {
  quiet_ = true;
  TreeView_DeleteAllItems(tvw_);
  TVINSERTSTRUCTW ins{};
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = const_cast<wchar_t*>(kGroupRootText);
  root_ = TreeView_InsertItem(tvw_, &ins);
  HTREEITEM last = root_;
  for (const auto& name : ListGroups(folder_)) last = AddGroupNode(name);
  TreeView_Expand(tvw_, root_, TVE_EXPAND);
  TreeView_EnsureVisible(tvw_, last);
  TreeView_SelectItem(tvw_, root_);
  quiet_ = false;
  ShowSelected();
}

HTREEITEM Formgroup::AddGroupNode(const std::wstring& name) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = root_;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = const_cast<wchar_t*>(name.c_str());
  ins.item.iImage = ins.item.iSelectedImage = 1;
  return TreeView_InsertItem(tvw_, &ins);
}

std::wstring Formgroup::ItemText(HTREEITEM item) const {
  wchar_t buf[512] = {};
  TVITEMW it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = buf;
  it.cchTextMax = int(std::size(buf));
  return item && TreeView_GetItem(tvw_, &it) ? std::wstring(buf) : std::wstring();
}

int Formgroup::NodeCount() const { return int(TreeView_GetCount(tvw_)); }

std::wstring Formgroup::NodeText(int index) const {
  HTREEITEM item = root_;
  for (int i = 0; item && i < index; ++i)
    item = i == 0 ? TreeView_GetChild(tvw_, root_) : TreeView_GetNextSibling(tvw_, item);
  return ItemText(item);
}

HTREEITEM Formgroup::FindGroup(const std::wstring& name) const {
  for (HTREEITEM item = TreeView_GetChild(tvw_, root_); item; item = TreeView_GetNextSibling(tvw_, item))
    if (common::EqualsNoCase(ItemText(item), name)) return item;
  return nullptr;
}

bool Formgroup::SelectGroup(const std::wstring& name) {
  HTREEITEM item = name.empty() ? root_ : FindGroup(name);
  return item && TreeView_SelectItem(tvw_, item) && TreeView_GetSelection(tvw_) == item;
}

std::wstring Formgroup::SelectedGroup() const {
  HTREEITEM item = TreeView_GetSelection(tvw_);
  return item && item != root_ ? ItemText(item) : std::wstring();
}

bool Formgroup::SaveSelected() {
  std::wstring name = SelectedGroup();
  if (name.empty()) return true;
  if (block_ != EditBlock::kNone) {
    MsgBox(hwnd(), NotEditableMessage(GroupPath(folder_, name), block_), MB_OK | MB_ICONERROR);
    return false;
  }
  GroupWrite w = WriteGroup(folder_, name, FormatEditorGroup(common::ui::WindowText(text1_)), format_);
  if (!w.ok()) {
    MsgBox(hwnd(),
           w.write.status == common::WriteStatus::kNotHeld ? NotHeldMessage(GroupPath(folder_, name), w.write.notHeld)
                                                         : GroupWriteFailedMessage(name),
           MB_OK | MB_ICONERROR);
    return false;
  }
  // Addresses kept in their ASCII form show as they were stored.
  std::wstring shown = EditorText(w.stored);
  if (shown != common::ui::WindowText(text1_)) SetWindowTextW(text1_, shown.c_str());
  changed_ = false;
  return true;
}

bool Formgroup::AskToSave() {
  std::wstring name = SelectedGroup();
  if (!changed_ || name.empty()) return true;
  if (MsgBox(hwnd(), GroupChangedQuestion(name), MB_YESNO | MB_ICONQUESTION) == IDYES) return SaveSelected();
  changed_ = false;
  return true;
}

void Formgroup::ShowSelected() {
  std::wstring name = SelectedGroup();
  // Read in its own form, to be written back in it; the edit box cannot hold a NUL.
  EditedFile read;
  if (!name.empty()) read = ReadForEditing(GroupPath(folder_, name), common::kSmallFileCap, true);
  format_ = read.file.format;
  block_ = read.block;
  SetWindowTextW(text1_, EditorText(read.file.text).c_str());
  // The root has no file: nothing typed there could be kept; nor in a file that was not read whole.
  SendMessageW(text1_, EM_SETREADONLY, name.empty() || block_ != EditBlock::kNone, 0);
  changed_ = false;
}

bool Formgroup::CheckNewName(const std::wstring& name, const std::wstring& current) {
  if (!IsPlainGroupName(name)) {
    MsgBox(hwnd(), GroupNameRefusedMessage(name), MB_OK | MB_ICONERROR);
    return false;
  }
  bool same = !current.empty() && common::EqualsNoCase(name, current);
  if (!same && (FindGroup(name) || GroupExists(folder_, name))) {
    MsgBox(hwnd(), GroupExistsMessage(name), MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

void Formgroup::build() {
  if (NodeCount() > kMaxEditorNodes) {
    MsgBox(hwnd(), kTooMany, MB_OK | MB_ICONERROR);
    return;
  }
  std::wstring name = AskText(hwnd(), kNamePrompt, L"添加网站群组", L"新的群组");
  if (name.empty() || !CheckNewName(name, L"")) return;
  // The file is made by the first save.
  TreeView_SelectItem(tvw_, AddGroupNode(name));
  SetFocus(text1_);
}

void Formgroup::rename() {
  HTREEITEM item = TreeView_GetSelection(tvw_);
  std::wstring current = SelectedGroup();
  if (current.empty()) return;
  std::wstring name = AskText(hwnd(), kNamePrompt, L"网站群组改名", current);
  if (name.empty() || name == current || !CheckNewName(name, current)) return;
  switch (RenameGroup(folder_, current, name)) {
    case GroupChange::kExists: MsgBox(hwnd(), GroupExistsMessage(name), MB_OK | MB_ICONERROR); return;
    case GroupChange::kFailed: MsgBox(hwnd(), GroupRenameFailedMessage(current), MB_OK | MB_ICONERROR); return;
    default: break;  // a group never saved has only its node
  }
  TVITEMW it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = const_cast<wchar_t*>(name.c_str());
  TreeView_SetItem(tvw_, &it);
}

void Formgroup::del() {
  HTREEITEM item = TreeView_GetSelection(tvw_);
  std::wstring name = SelectedGroup();
  if (name.empty()) return;
  if (MsgBox(hwnd(), GroupDeleteQuestion(name), MB_OKCANCEL | MB_ICONQUESTION, L"删除确认") != IDOK) return;
  if (DeleteGroup(folder_, name) == GroupChange::kFailed) {
    MsgBox(hwnd(), GroupDeleteFailedMessage(name), MB_OK | MB_ICONERROR);
    return;
  }
  changed_ = false;  // the edits went with the group
  quiet_ = true;
  TreeView_DeleteItem(tvw_, item);
  quiet_ = false;
  ShowSelected();
}

void Formgroup::Toolbar1_ButtonClick(int key) {
  switch (key) {
    case kBuild: build(); break;
    case kRename: rename(); break;
    case kDel: del(); break;
    case kSave: SaveSelected(); break;
    case kCopy: SendMessageW(text1_, WM_COPY, 0, 0); break;
    case kMove: SendMessageW(text1_, WM_CUT, 0, 0); break;
    case kZhan: SendMessageW(text1_, WM_PASTE, 0, 0); break;
    case kCancel: SendMessageW(text1_, EM_UNDO, 0, 0); break;
  }
}

bool Formgroup::Close() {
  std::wstring name = SelectedGroup();
  if (changed_ && !name.empty()) {
    int answer = MsgBox(hwnd(), GroupChangedQuestion(name), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL || (answer == IDYES && !SaveSelected())) return false;
  }
  Destroy();
  return true;
}

LRESULT Formgroup::OnNotify(NMHDR* hdr) {
  if (hdr->idFrom != kTvw) return 0;
  switch (hdr->code) {
    case TVN_SELCHANGINGW: return !quiet_ && !AskToSave();
    case TVN_SELCHANGEDW:
      if (!quiet_) ShowSelected();
      return 0;
    case TVN_KEYDOWN:
      if (reinterpret_cast<NMTVKEYDOWN*>(hdr)->wVKey == VK_DELETE) del();
      return 0;
  }
  return 0;
}

LRESULT Formgroup::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kText1) {
        if (HIWORD(wp) == EN_CHANGE) changed_ = true;
      } else if (LOWORD(wp) == IDCANCEL) {
        Close();
      } else if (LOWORD(wp) >= kBuild && LOWORD(wp) <= kCancel) {
        Toolbar1_ButtonClick(LOWORD(wp));
      }
      return 0;
    case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, tvw_); return 0;
    case WM_CLOSE: Close(); return 0;
  }
  return Default(msg, wp, lp);
}

void Formgroup::OnGone() {
  if (accel_) DestroyAcceleratorTable(accel_);
  if (images_) ImageList_Destroy(images_);
  accel_ = nullptr;
  images_ = nullptr;
}

}  // namespace corvane
