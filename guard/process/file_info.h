// The file-information report: the layout of what is known about one file and its process.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvix {

// The texts the shell shows for a file; each is empty when it could not be read.
struct FileDetails {
  std::wstring size, description, company, version, product, created, modified, attributes;
};

// The report. memory: the process's memory column; remark: the process's remark column, or nullopt
// for the fixed "see the file's description" line. The last line has no line end.
std::wstring FileInfoReport(std::wstring_view path, const FileDetails& details, std::wstring_view memory,
                            const std::optional<std::wstring>& remark);

// Attribute letters of a file attribute mask, in the order the shell lists them.
std::wstring AttributeLetters(uint32_t attributes);

inline constexpr wchar_t kFileInfoCaption[] = L"文件信息";
inline constexpr wchar_t kUnknownMemory[] = L"未知";

}  // namespace zorvix
