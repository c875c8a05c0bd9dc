// Texts and rules of the tray icon and its menu that need no system.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

// The weekday text by its number counted from Sunday (1 = Sunday ... 7 = Saturday), with its leading
// blank; empty for any other number.
std::wstring WeekdayText(int weekdayFromSunday);
// The tip of the tray icon (weekstr): the greeting, a line break, the date and the weekday text.
std::wstring TrayTip(std::wstring_view shortDate, int weekdayFromSunday);

// An IPv4 address as its four bytes in decimal joined by ".".
std::wstring AddressText(const uint8_t bytes[4]);
// The message of "内网 IP 地址" about the address found.
std::wstring LocalIpMessage(std::wstring_view address);
// What is wrong with the socket layer the system granted, or nothing when it will do.
std::optional<std::wstring> SocketLayerProblem(int major, int minor, int maxSockets);

// The drive letter of a drive item's caption ("【E】盘" gives 'E'); 0 when the caption has none.
wchar_t DriveLetterOfCaption(std::wstring_view caption);
// Whether the start-up value's text names the program (quotes and letter case aside).
bool NamesProgram(std::wstring_view runValue, std::wstring_view programPath);

// One row of the tray menu, in order. A submenu holds the rows up to its matching end.
struct TrayMenuRow {
  enum Kind { Item, Separator, SubmenuBegin, SubmenuEnd } kind;
  int id;  // command id of an item (0 for the other kinds)
  const wchar_t* caption;
};
const std::vector<TrayMenuRow>& TrayMenuRows();

// Command ids of the tray menu.
enum TrayCommand : int {
  kTrayMain = 2001,
  kTrayView,
  kTrayRegedit,
  kTrayGroup,
  kTrayConfig,
  kTrayInternet,
  kTrayDesktop,
  kTrayControl,
  kTrayNetIp,
  kTrayNetIpWan,
  kTrayProcess,
  kTrayNetwall,
  kTrayDisk0,  // disk 0 to 7 follow
  kTrayAutorun = kTrayDisk0 + 8,
  kTrayDownload,
  kTrayHelp,
  kTrayAbout,
  kTrayTurnOffPc,
  kTrayExit,
};

inline constexpr wchar_t kTrayCaption[] = L"菜单列表";
inline constexpr wchar_t kRunKey[] = L"software\\microsoft\\windows\\currentversion\\run";
inline constexpr wchar_t kRunValueName[] = L"safe";
inline constexpr wchar_t kLocalIpTitle[] = L"内网IP地址";

// The tray tip's line for the firewall's switches; empty while it watches as usual.
std::wstring FirewallStateLine(bool firewallOn, bool networkCut);

}  // namespace zorvix
