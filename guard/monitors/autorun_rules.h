// Rules of the removable-drive autorun guard that need no system: which drives are examined, what an
// "autorun.inf" starts, and which of the listed files may be deleted.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zorvix {

enum class DriveKind { Removable, Fixed, CdRom, Network, Other };
// The kind of a drive by its GetDriveType code.
DriveKind DriveKindOf(unsigned driveType);
// CD-ROM drives are read-only, network drives are not removable media and may not answer at all.
bool ScansDrive(DriveKind kind);

// An "autorun.inf" shorter than this is ignored.
inline constexpr long long kMinAutorunBytes = 11;

// The command text of an "autorun.inf": the text after the first "=" of the first line that, left-trimmed,
// begins with "open" or "shell" in any case. Nothing when there is no such line or it has no "=".
std::optional<std::wstring> AutorunCommand(std::wstring_view fileText);
// The program (or document) a command text starts: the quoted part of a quoted text, else the path up to
// ".exe" (or the .dll of a rundll32 line), else the text up to its first blank.
std::wstring AutorunProgram(std::wstring_view command);
// Where a program named in the "autorun.inf" of a drive root ("U:\") lies: a full path, with "." and ".."
// resolved. Relative names are taken from the drive root; nothing climbs above a root.
std::wstring AutorunTargetPath(std::wstring_view root, std::wstring_view program);
// "." and ".." of a full path resolved, "/" read as "\", doubled separators dropped.
std::wstring ResolveDots(std::wstring_view path);
// Whether the cleaner may delete a listed file: on the drive of that root, below it, and not in the
// Windows folder.
bool MayDeleteFromDrive(std::wstring_view path, std::wstring_view root, std::wstring_view windowsFolder);

// What the user is told when a machine-wide value of the cleaner could not be written.
std::wstring PolicyRefusedText(std::wstring_view key, std::wstring_view name);

inline constexpr wchar_t kAutorunCaption[] = L"捕获病毒警告";
inline constexpr wchar_t kAutorunHeading[] = L"《Zorvix安全卫士》在您的电脑里发现了 AutoRun 病毒，详细信息如下：";
inline constexpr wchar_t kAutorunHeadingRemovable[] =
    L"《Zorvix安全卫士》在您的可移动 U 盘里发现了 AutoRun 病毒，详细信息如下：";

}  // namespace zorvix
