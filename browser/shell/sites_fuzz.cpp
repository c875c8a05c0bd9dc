// libFuzzer target for the sites file and the address-bar rules.
// Run: bash tools/fuzz.sh browser/shell/sites_fuzz.cpp 60
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "browser/shell/address_rules.h"
#include "browser/shell/sites.h"
#include "common/testing/gbk_double.h"
#include "common/text.h"
#include "common/text_codec.h"

namespace {

bool QueryCharacter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
         c == L'_' || c == L'.' || c == L'~' || c == L'%';
}

void CheckLinks(const corvane::SiteHosts& hosts, const corvane::SiteItem& item) {
  for (const auto& link : item.links)
    if (link.path) hosts.Address(link, L"C:\\app\\");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input is a file's bytes, read as the programs read files: by its mark, as UTF-8, or in the code page.
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::wstring text = common::DecodeExactly(bytes, common::DetectFormat(bytes), suite::GbkDouble());

  corvane::SiteHosts hosts;
  int malformed = hosts.Load(text);
  // Every line that is not skipped either names a site or counts as malformed, never both or neither.
  int candidates = 0;
  for (const std::wstring& raw : common::SplitLines(text)) {
    std::wstring line = common::Trim(raw);
    bool skipped = line.empty() || line[0] == L';' || line[0] == L'#';
    candidates += skipped ? 0 : 1;
    if (candidates > 8) continue;
    corvane::SiteHosts one;
    int bad = one.Load(line);
    if (skipped ? (bad != 0 || one.size() != 0) : (bad + int(one.size()) != 1)) __builtin_trap();
  }
  if (malformed > candidates || int(hosts.size()) > candidates - malformed) __builtin_trap();
  for (const auto& item : corvane::MenuSites()) CheckLinks(hosts, item);
  for (const auto& item : corvane::SearchDropSites()) CheckLinks(hosts, item);
  for (const auto& item : corvane::FilmDropSites()) CheckLinks(hosts, item);
  // A base never ends in "/" and always names a scheme and a host, whatever the line held.
  if (auto base = hosts.Base(corvane::kDefaultSearchSite)) {
    size_t scheme = base->find(L"://");
    if (base->back() == L'/' || scheme == std::wstring::npos || scheme + 3 >= base->size() ||
        (*base)[scheme + 3] == L'/')
      __builtin_trap();
  }

  // An encoded word holds nothing that could end the query value or start another parameter.
  for (wchar_t c : corvane::EncodeWord(text))
    if (!QueryCharacter(c)) __builtin_trap();
  // A word that is no address is searched, the whole of it inside the one query value.
  std::wstring typed = common::Trim(text);
  if (!typed.empty() && !corvane::IsAddressText(typed)) {
    std::wstring go = corvane::GoAddress(text, L"http://s.example");
    if (go != L"http://s.example/s?wd=" + corvane::EncodeWord(typed)) __builtin_trap();
  }
  // Parent items are folders of the address's own host part, or the "www" item.
  for (const std::wstring& item : corvane::ParentItems(text))
    if (!item.empty() && item.back() != L'/' && item.rfind(L"http://www", 0) != 0) __builtin_trap();
  return 0;
}
