#include "browser/pages/win/group_menu.h"

#include "browser/pages/groups.h"
#include "browser/pages/win/formgroup.h"
#include "browser/pages/win/group_files.h"
#include "browser/pages/win/input_box.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/shell/win/modal.h"
#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/system.h"

namespace corvane {

void GroupMenu::Attach(HMENU group, PagesHost host) {
  group_ = group;
  host_ = std::move(host);
  AppendMenuW(group_, MF_STRING, kGroupSetup, L"群组设置(&S)");
  AppendMenuW(group_, MF_STRING, kGroupSave, L"保存所有窗口为群组(&G)");
  AppendMenuW(group_, MF_SEPARATOR, 0, nullptr);
}

void GroupMenu::loadgroups() {
  // 1.
  for (size_t n = 0; n < names_.size(); ++n) DeleteMenu(group_, UINT(kGroupName + n), MF_BYCOMMAND);
  // 2.
  names_ = ListGroups(host_.groupFolder());
  if (names_.size() > size_t(kLastGroupName - kGroupName + 1)) names_.resize(kLastGroupName - kGroupName + 1);
  for (size_t n = 0; n < names_.size(); ++n)
    AppendMenuW(group_, MF_STRING, kGroupName + n, common::ReplaceAll(names_[n], L"&", L"&&").c_str());
  // 3. The folder picture at positions 3..33.
  int count = GetMenuItemCount(group_);
  for (int pos = kFirstGroupBitmapPosition; pos <= kLastGroupBitmapPosition && pos < count; ++pos) {
    MENUITEMINFOW mi{sizeof mi};
    mi.fMask = MIIM_BITMAP;
    mi.hbmpItem = FolderPicture();
    SetMenuItemInfoW(group_, pos, TRUE, &mi);
  }
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
  if (!WriteGroup(host_.groupFolder(), name, FormatSavedGroup(host_.addresses())))
    common::MsgBox(host_.frame, GroupWriteFailedMessage(name), MB_OK | MB_ICONERROR);
  loadgroups();
}

void GroupMenu::groupSetup() {
  Formgroup editor(host_.groupFolder());
  if (editor.Create(host_.frame)) RunModal(editor, host_.frame);
  loadgroups();
}

bool GroupMenu::Command(int id) {
  if (id >= kGroupName && id < kGroupName + int(names_.size())) {
    // A copy: opening pumps messages, and a rebuild may change the list meanwhile.
    std::wstring name = names_[id - kGroupName];
    opengroup(name);
    return true;
  }
  switch (id) {
    case kGroupSetup: groupSetup(); return true;
    case kGroupSave: groupSave(); return true;
  }
  return false;
}

}  // namespace corvane
