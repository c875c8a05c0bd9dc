#include "browser/files/edit_messages.h"

namespace corvane {
namespace {
const wchar_t* Reason(EditBlock why) {
  switch (why) {
    case EditBlock::kUnreadable: return L"文件无法读取";
    case EditBlock::kTooLarge: return L"文件太大";
    case EditBlock::kNotExact: return L"文件中有无法原样写回的内容";
    case EditBlock::kHoldsNul: return L"文件中含有空字符，无法完整显示";
    case EditBlock::kNone: break;
  }
  return L"";
}
}  // namespace

std::wstring NotEditableMessage(std::wstring_view path, EditBlock why) {
  return L"文件 " + std::wstring(path) + L" 没有能够完整读出（" + Reason(why) +
         L"），为了不丢失其中的内容，修改没有保存，原来的文件保持不变。";
}

std::wstring NotHeldMessage(std::wstring_view path, std::wstring_view line) {
  return L"文件 " + std::wstring(path) + L" 没有保存：下面这一行含有文件的编码无法保存的字符，原来的文件保持不变。\r\n" +
         std::wstring(line);
}

std::wstring WriteFailedMessage(std::wstring_view path) {
  return L"文件 " + std::wstring(path) + L" 没有保存（无法写入），原来的文件保持不变。";
}

}  // namespace corvane
