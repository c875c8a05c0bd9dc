#include "browser/pages/win/group_menu.h"

#include "browser/pages/groups.h"
#include "browser/pages/win/formgroup.h"
#include "browser/pages/win/group_files.h"
#include "browser/pages/win/input_box.h"
#include "browser/pages/win/menu_pictures.h"
#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/system.h"
#include "common/win/ui/modal.h"

namespace corvane {

void GroupMenu::Attach(HMENU group, int firstId, int count, PagesHost host) {
  group_ = group;
  firstId_ = firstId;
  count_ = count;
  host_ = std::move(host);
}

void GroupMenu::loadgroups() {
  // The menu's old group entries go, then the folder's groups come in, as many as the menu holds.
  for (size_t n = 0; n < names_.size(); ++n) DeleteMenu(group_, UINT(firstId_ + n), MF_BYCOMMAND);
  names_ = ListGroups(host_.groupFolder());
  if (names_.size() > size_t(count_)) names_.resize(count_);
  for (size_t n = 0; n < names_.size(); ++n)
    AppendMenuW(group_, MF_STRING, firstId_ + n, common::ReplaceAll(names_[n], L"&", L"&&").c_str());
  // 3. The folder picture at positions 3..33.
  int count = GetMenuItemCount(group_);
  for (int pos = kFirstGroupBitmapPosition; pos <= kLastGroupBitmapPosition && pos < count; ++pos)
    SetMenuPicture(group_, UINT(pos), MenuPicture::kFolder);
}

void GroupMenu::opengroup(const std::wstring& name) {
  auto text = ReadGroup(host_.groupFolder(), name);
  if (!text) return;
  auto addresses = GroupAddresses(*text);
  size_t opened = 0;
  // Once the window table is full, the rest cannot open; they are counted instead.
  while (opened < addresses.size() && host_.open(addresses[opened])) {
    ++opened;
    common::PumpMessages();
  }
  if (opened < addresses.size()) host_.status(GroupNotOpenedStatus(name, int(addresses.size() - opened)));
}

void GroupMenu::groupSave() {
  std::wstring name = AskText(host_.frame, L"请输入一个新的网站群组名称：", L"设置名称");
  if (name.empty()) return;
  if (!IsPlainGroupName(name)) {
    common::MsgBox(host_.frame, GroupNameRefusedMessage(name), MB_OK | MB_ICONERROR);
    return;
  }
  if (common::FileSize(GroupPath(host_.groupFolder(), name)) >= kGroupExistsBytes) {
    common::MsgBox(host_.frame, GroupExistsMessage(name), MB_OK | MB_ICONERROR);
    return;
  }
  // A new file in the code page; addresses it cannot hold are kept in their ASCII form.
  if (!WriteGroup(host_.groupFolder(), name, FormatSavedGroup(host_.addresses())).ok())
    common::MsgBox(host_.frame, GroupWriteFailedMessage(name), MB_OK | MB_ICONERROR);
  loadgroups();
}

void GroupMenu::groupSetup() {
  Formgroup editor(host_.groupFolder());
  if (editor.Create(host_.frame)) common::ui::RunModal(editor, host_.frame);
  loadgroups();
}

void GroupMenu::GroupName_Click(int n) {
  if (n < 0 || n >= int(names_.size())) return;
  // A copy: opening lets messages run, and a rebuild may change the list meanwhile.
  std::wstring name = names_[n];
  opengroup(name);
}

}  // namespace corvane
