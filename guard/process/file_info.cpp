#include "guard/process/file_info.h"

namespace zorvix {
namespace {
const std::wstring kSeparator(71, L'-');
const std::wstring kCrLf = L"\r\n";
}  // namespace

std::wstring FileInfoReport(std::wstring_view path, const FileDetails& d, std::wstring_view memory,
                            const std::optional<std::wstring>& remark) {
  std::wstring r;
  auto line = [&r](std::wstring_view label, std::wstring_view value) {
    r.append(label).append(value).append(kCrLf);
  };
  line(L"文件路径： ", path);
  line(L"文件大小： ", d.size);
  line(L"内存占用： ", memory);
  line(kSeparator, L"");
  line(L"产品描述： ", d.description);
  line(L"产品公司： ", d.company);
  line(L"产品版本： ", d.version);
  line(L"软件名称： ", d.product);
  line(kSeparator, L"");
  line(L"创建时间： ", d.created);
  line(L"修改时间： ", d.modified);
  line(L"文件属性： ", d.attributes + L"        隐藏[H]   只读[R]   存档[A] ");
  line(kSeparator, L"");
  r += remark ? L"其它注释： " + *remark : std::wstring(L"其它注释： 详见文件说明 ");
  return r;
}

std::wstring AttributeLetters(uint32_t attributes) {
  // Bit of each FILE_ATTRIBUTE_* value and its letter.
  static constexpr struct {
    uint32_t bit;
    wchar_t letter;
  } kLetters[] = {{0x1, L'R'},   {0x2, L'H'},   {0x4, L'S'},   {0x10, L'D'},   {0x20, L'A'},
                  {0x100, L'T'}, {0x800, L'C'}, {0x1000, L'O'}, {0x4000, L'E'}};
  std::wstring r;
  for (const auto& l : kLetters)
    if (attributes & l.bit) r.push_back(l.letter);
  return r;
}

}  // namespace zorvix
