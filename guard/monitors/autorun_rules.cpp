#include "guard/monitors/autorun_rules.h"

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "guard/process/process_rules.h"

namespace zorvix {

DriveKind DriveKindOf(unsigned driveType) {
  switch (driveType) {
    case 2: return DriveKind::Removable;
    case 3: return DriveKind::Fixed;
    case 4: return DriveKind::Network;
    case 5: return DriveKind::CdRom;
    default: return DriveKind::Other;
  }
}

bool ScansDrive(DriveKind kind) { return kind != DriveKind::CdRom && kind != DriveKind::Network; }

namespace {
std::wstring_view LeftTrim(std::wstring_view s) {
  size_t i = s.find_first_not_of(L" \t");
  return i == std::wstring_view::npos ? std::wstring_view() : s.substr(i);
}
}  // namespace

std::optional<std::wstring> AutorunCommand(std::wstring_view fileText) {
  for (const std::wstring& raw : common::SplitLines(fileText)) {
    std::wstring_view line = LeftTrim(raw);
    if (!common::StartsWithNoCase(line, L"open") && !common::StartsWithNoCase(line, L"shell")) continue;
    size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) return std::nullopt;
    return std::wstring(line.substr(eq + 1));
  }
  return std::nullopt;
}

std::wstring AutorunProgram(std::wstring_view command) {
  std::wstring text = common::Trim(command);
  if (!text.empty() && text[0] == L'"') {
    size_t close = text.find(L'"', 1);
    return common::Trim(text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
  }
  std::wstring program = ExtractRunPath(text);
  bool cut = program.size() < text.size();
  if (!cut && !common::EndsWithNoCase(program, L".exe")) program = program.substr(0, program.find(L' '));
  return common::Trim(program);
}

std::wstring ResolveDots(std::wstring_view path) {
  std::wstring p = common::ReplaceAll(path, L"/", L"\\");
  // The part that ".." never climbs above: "X:\" or "\\server\share\".
  size_t rootEnd = 0;
  if (p.size() >= 2 && p[1] == L':') {
    rootEnd = 2;
  } else if (p.starts_with(L"\\\\")) {
    size_t server = p.find(L'\\', 2);
    size_t share = server == std::wstring::npos ? server : p.find(L'\\', server + 1);
    rootEnd = share == std::wstring::npos ? p.size() : share;
  }
  std::vector<std::wstring> parts;
  size_t pos = rootEnd;
  while (pos <= p.size()) {
    size_t next = p.find(L'\\', pos);
    if (next == std::wstring::npos) next = p.size();
    std::wstring part = p.substr(pos, next - pos);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    pos = next + 1;
  }
  std::wstring out = p.substr(0, rootEnd);
  for (const std::wstring& part : parts) out += L"\\" + part;
  bool unc = rootEnd > 2;  // "\\server\share" stands for itself; a drive's root is "X:\"
  return out.size() == rootEnd && !unc ? out + L"\\" : out;
}

std::wstring AutorunTargetPath(std::wstring_view root, std::wstring_view program) {
  std::wstring p = common::ReplaceAll(program, L"/", L"\\");
  std::wstring drive(root.substr(0, 2));
  if (p.size() >= 2 && p[1] == L':') {
    // "X:name" is relative to the current folder of X:, which the guard does not share: its root.
    if (p.size() == 2 || p[2] != L'\\') p.insert(2, L"\\");
  } else if (p.starts_with(L"\\\\")) {
    // a network path stays what it is
  } else if (p.starts_with(L"\\")) {
    p = drive + p;
  } else {
    p = drive + L"\\" + p;
  }
  return ResolveDots(p);
}

namespace {
// A name of dots and blanks only ("...", ". .") may mean a parent folder to the file system.
bool HasDotsOnlyName(std::wstring_view path) {
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = std::min(path.find(L'\\', pos), path.size());
    std::wstring_view part = path.substr(pos, next - pos);
    if (!part.empty() && part.find_first_not_of(L". ") == std::wstring_view::npos) return true;
    pos = next + 1;
  }
  return false;
}
}  // namespace

bool MayDeleteFromDrive(std::wstring_view path, std::wstring_view root, std::wstring_view windowsFolder) {
  std::wstring full = ResolveDots(path);
  if (HasDotsOnlyName(full)) return false;
  std::wstring base = common::WithTrailingSlash(ResolveDots(root));
  if (full.size() <= base.size() || !common::StartsWithNoCase(full, base)) return false;
  std::wstring windows = common::WithTrailingSlash(ResolveDots(windowsFolder));
  bool inWindows = !windowsFolder.empty() && (common::StartsWithNoCase(full, windows) ||
                                              common::EqualsNoCase(full + L"\\", windows));
  return !inWindows;
}

std::wstring PolicyRefusedText(std::wstring_view key, std::wstring_view name) {
  return L"无法写入系统设置 HKEY_LOCAL_MACHINE\\" + std::wstring(key) + L"\\" + std::wstring(name) +
         L"，需要管理员权限。\r\n请以管理员身份运行本软件后再次清除。    ";
}

}  // namespace zorvix
