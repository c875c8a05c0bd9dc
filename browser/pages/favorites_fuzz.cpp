// libFuzzer target for the files of favorites and groups: shortcut files of any program, group files,
// and the names typed for them.
// Build and run: bash tools/fuzz.sh browser/pages/favorites_fuzz.cpp 60
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/pages/favorites.h"
#include "browser/pages/file_names.h"
#include "browser/pages/groups.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  using namespace corvane;
  // Every address read is one line of the file, and what is written reads back as one address.
  for (const auto& address : UrlAddresses(text)) {
    Check(!address.empty() && address.find_first_of(L"\r\n") == std::wstring::npos);
    Check(UrlAddresses(FormatUrlFile(address)) == std::vector<std::wstring>{address});
  }
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
