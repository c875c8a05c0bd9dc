#include "common/testing/win/text_files.h"

#include "common/win/code_page.h"
#include "common/win/text_file.h"

namespace suite {
namespace {
constexpr uint64_t kTestCap = 1ull << 30;
}

std::string Ansi(std::wstring_view text) { return common::ToAnsi(text).value_or("<not in the code page>"); }

std::optional<std::string> ReadBytes(const std::wstring& path) {
  auto r = common::ReadFileBytes(path, kTestCap);
  if (!r.ok()) return std::nullopt;
  return std::move(r.bytes);
}

std::optional<std::wstring> ReadText(const std::wstring& path) {
  auto r = common::ReadTextFile(path, kTestCap);
  if (!r.ok()) return std::nullopt;
  return std::move(r.text);
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) { return common::WriteFileAtomically(path, bytes); }

bool WriteText(const std::wstring& path, std::wstring_view text) { return common::WriteTextFile(path, text).ok(); }

}  // namespace suite
