// libFuzzer target for the files of favorites and groups: shortcut files of any program, group files,
// and the names typed for them.
// Build and run: bash tools/fuzz.sh browser/pages/favorites_fuzz.cpp 60
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "browser/pages/favorites.h"
#include "browser/pages/file_names.h"
#include "browser/pages/groups.h"
#include "common/testing/gbk_double.h"
#include "common/text.h"
#include "common/text_codec.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input is a file's bytes, read as the programs read files: by its mark, as UTF-8, or in the code page.
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::wstring text = common::DecodeExactly(bytes, common::DetectFormat(bytes), suite::GbkDouble());
  using namespace corvane;
  // Every address read is one line of the file, and what is written reads back as one address.
  for (const auto& address : UrlAddresses(text)) {
    Check(!address.empty() && address.find_first_of(L"\r\n") == std::wstring::npos);
    Check(UrlAddresses(FormatUrlFile(address)) == std::vector<std::wstring>{address});
  }
  // A shortcut pointed elsewhere holds that one address, whatever else it held.
  std::wstring address = common::Trim(std::wstring_view(text).substr(0, text.find_first_of(L"\r\n")));
  if (auto edited = WithUrl(text, address)) {
    auto now = UrlAddresses(*edited);
    Check(address.empty() ? now.empty() : now == std::vector<std::wstring>{address});
  }
  // A group in ASCII form holds nothing else.
  for (wchar_t c : HeldAddresses(text, [](std::wstring_view line) {
         for (wchar_t ch : line)
           if (ch >= 0x80) return false;
         return true;
       }))
    Check(c < 0x80);
  auto nodes = BuildFavoritesTree({{text, {{text, text}}}}, {{text, text}});
  for (const auto& n : nodes) Check(n.parent < int(nodes.size()) && (!n.favorite || !KeyAddress(n.key).empty()));
  // A title made a file name holds nothing a file name may not, and no device name.
  std::wstring title = FavoriteFileTitle(text);
  for (wchar_t c : title) Check(!IsForbiddenNameChar(c));
  Check(title.size() <= kMaxNamePart && !IsDeviceName(title) && !IsOnlyDots(title));
  // A group's addresses survive both written forms.
  auto addresses = GroupAddresses(text);
  for (const auto& a : addresses) Check(!a.empty() && a.find_first_of(L"\r\n") == std::wstring::npos);
  std::vector<std::wstring> kept;
  for (const auto& a : addresses)
    if (a != L"about:blank") kept.push_back(a);
  Check(GroupAddresses(FormatSavedGroup(addresses)) == kept);
  Check(GroupAddresses(FormatEditorGroup(EditorText(text))) == addresses);
  if (IsPlainGroupName(text)) Check(text.find_first_of(L"\\/:") == std::wstring::npos && text != L"..");
  GroupNameOf(text);
  return 0;
}
