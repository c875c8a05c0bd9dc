// Fuzzes the reading of the two list files in every form they come in (marks, UTF-16, UTF-8, a
// double-byte code page with stray bytes), their writing back, and the rules applied to their entries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/testing/gbk_double.h"
#include "common/text.h"
#include "common/text_codec.h"
#include "guard/monitors/ask_lists.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

std::vector<std::wstring> Parts(const std::wstring& entry) {
  std::vector<std::wstring> parts;
  size_t from = 0;
  for (size_t at; (at = entry.find_first_of(L";\r\n", from)) != std::wstring::npos; from = at + 1)
    parts.push_back(entry.substr(from, at - from));
  parts.push_back(entry.substr(from));
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const suite::GbkDouble cp;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  common::TextFormat format = common::DetectFormat(bytes);
  std::wstring text = common::DecodeExactly(bytes, format, cp);
  zorvix::AskFileLists lists = zorvix::ParseAskFile(text);

  // An entry taken from the file itself, separators and line breaks included.
  std::wstring entry = text.substr(0, text.size() / 3);
  std::vector<bool> before;
  for (const auto& p : Parts(entry)) before.push_back(lists.allow.Contains(p));
  std::wstring line = lists.allow.text();
  bool stored = lists.allow.Add(entry);
  Check(stored == zorvix::DecisionList::Storable(entry));
  Check(entry.empty() || lists.allow.Contains(entry));
  if (!stored) {
    Check(lists.allow.text() == line);
    // Its parts are no more allowed than they were: nothing forged.
    auto parts = Parts(entry);
    for (size_t i = 0; i < parts.size(); ++i) Check(lists.allow.Contains(parts[i]) == before[i]);
  }
  lists.deny.Remove(entry);
  Check(entry.empty() || !lists.deny.Contains(entry));

  // Written back in the form it was read in, the file reads as the same two lists.
  std::wstring out = zorvix::FormatAskFile(lists);
  auto written = common::EncodeExactly(out, format, cp);
  Check(written.has_value());
  // The next read detects the form again. A code-page file whose bytes are valid UTF-8 reads as UTF-8:
  // the detection cannot tell the two apart.
  common::TextFormat again = common::DetectFormat(*written);
  if (format.encoding == common::Encoding::Ansi && again.encoding == common::Encoding::Utf8) again = format;
  zorvix::AskFileLists back = zorvix::ParseAskFile(common::DecodeExactly(*written, again, cp));
  Check(back.allow.text() == lists.allow.text() && back.deny.text() == lists.deny.text());
  Check(common::SplitLines(out).size() <= 2 || back.allow.text().find(L'\n') == std::wstring::npos);

  for (const auto& at : zorvix::RegPathReadings(text)) {
    Check(!at.key.empty() && at.key.back() != L'\\');
    Check(at.rootName.size() + at.key.size() + at.value.size() + 2 == text.size());
  }
  return 0;
}
