#include "browser/pages/groups.h"

#include "browser/pages/favorites.h"
#include "browser/pages/file_names.h"
#include "browser/files/text_lines.h"
#include "common/address_form.h"
#include "common/text.h"

namespace corvane {
namespace {
constexpr std::wstring_view kExtension = L".txt";
constexpr std::wstring_view kBlankPage = L"about:blank";
const std::wstring kLineBreak = L"\r\n";

std::wstring Quoted(std::wstring_view name) { return L"“ " + std::wstring(name) + L" ”"; }
std::wstring S(std::wstring_view s) { return std::wstring(s); }
}  // namespace

std::optional<std::wstring> GroupNameOf(std::wstring_view entry) {
  if (entry == L"." || entry == L".." || entry.size() <= kExtension.size() ||
      !common::EndsWithNoCase(entry, kExtension))
    return std::nullopt;
  return std::wstring(entry.substr(0, entry.size() - kExtension.size()));
}

bool IsPlainGroupName(std::wstring_view name) {
  if (name.empty() || name.size() > kMaxNamePart || IsOnlyDots(name) || IsDeviceName(name)) return false;
  for (wchar_t c : name)
    if (IsForbiddenNameChar(c)) return false;
  return true;
}

std::vector<std::wstring> GroupAddresses(std::wstring_view text) {
  std::vector<std::wstring> addresses;
  for (std::wstring_view line : common::SplitLines(text, common::LineEnds::AlsoLoneCr)) {
    std::wstring address = common::Trim(line);
    if (!address.empty()) addresses.push_back(std::move(address));
  }
  return addresses;
}

std::wstring FormatSavedGroup(const std::vector<std::wstring>& addresses) {
  std::wstring text;
  for (const auto& address : addresses)
    if (!address.empty() && address != kBlankPage) text += address + kLineBreak + kLineBreak;
  return text;
}

std::wstring EditorText(std::wstring_view fileText) {
  std::wstring text;
  for (std::wstring_view line : common::SplitLines(fileText, common::LineEnds::AlsoLoneCr))
    if (!line.empty()) text += std::wstring(line) + kLineBreak;
  return text;
}

std::wstring FormatEditorGroup(std::wstring_view editorText) { return std::wstring(editorText) + kLineBreak; }

std::wstring HeldAddresses(std::wstring_view text, const std::function<bool(std::wstring_view line)>& held) {
  std::vector<TextLine> lines = SplitKeepingEnds(text);
  for (TextLine& line : lines)
    if (!held(line.text)) line.text = common::AsciiAddress(line.text);
  return JoinLines(lines);
}

std::wstring GroupExistsMessage(std::wstring_view name) {
  return L"对不起！网站群组“ " + S(name) + L" ”已经存在了，请你另外起个名字吧……    ";
}

std::wstring GroupNameRefusedMessage(std::wstring_view name) {
  return L"对不起！" + Quoted(name) +
         L"不能作为网站群组的名称：名称中不能含有 \\ / : * ? \" < > | 等字符，也不能只有圆点或是设备名，"
         L"请你另外起个名字吧……    ";
}

std::wstring GroupChangedQuestion(std::wstring_view name) {
  return L"网站群组“ " + S(name) + L" ”的内容已经改变，是否保存？";
}

std::wstring GroupDeleteQuestion(std::wstring_view name) { return L"您确实要删除“ " + S(name) + L" ”吗？"; }

std::wstring GroupWriteFailedMessage(std::wstring_view name) {
  return L"对不起！网站群组" + Quoted(name) + L"无法保存，请检查群组目录是否可以写入……    ";
}

std::wstring GroupRenameFailedMessage(std::wstring_view name) {
  return L"对不起！网站群组" + Quoted(name) + L"无法改名……    ";
}

std::wstring GroupDeleteFailedMessage(std::wstring_view name) {
  return L"对不起！网站群组" + Quoted(name) + L"无法删除……    ";
}

std::wstring GroupNotOpenedStatus(std::wstring_view name, int notOpened) {
  return L"网站群组" + Quoted(name) + L"中有 " + std::to_wstring(notOpened) +
         L" 个网址没有打开：最多只能同时打开 51 个窗口";
}

}  // namespace corvane
