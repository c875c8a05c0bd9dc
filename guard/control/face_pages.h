// The control centre's pages: their order, captions, keys, list columns and action captions, and the
// texts the pages ask and tell.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

// The page type is the tab's position (1 to 7).
enum class PageType { Home = 1, System, Windows, Start, Net, Setup, Repair };
inline constexpr int kPageCount = 7;

enum class ColumnAlign { Left, Right, Center };
struct PageColumn {
  const wchar_t* caption;
  int twips;
  ColumnAlign align = ColumnAlign::Left;
};

struct FacePage {
  PageType type;
  const wchar_t* caption;  // tab caption, trailing blanks included
  const wchar_t* key;
  std::vector<PageColumn> columns;  // none: the page shows the text box
  const wchar_t* command4;          // caption of the action button on this page
};

// The pages in tab order.
const std::vector<FacePage>& FacePages();
// The page at a tab position (1-based); positions out of range give the first page.
const FacePage& PageAt(int position);
// The position of the page with this key, or 0.
int PositionOfKey(std::wstring_view key);

// The column of each page that names the row's program (for the folder view and the file information),
// or -1 when the page's rows name none.
int ProgramColumn(PageType type);

std::wstring KillProcessConfirmText(std::wstring_view name);
std::wstring DeleteStartConfirmText(std::wstring_view valueName);
std::wstring DeleteNetConfirmText(std::wstring_view name);
std::wstring UninstallConfirmText(std::wstring_view name);
std::wstring UninstallFailedText(std::wstring_view command, std::wstring_view reason);
std::wstring LocalIpText(std::wstring_view address);

inline constexpr wchar_t kFaceCaption[] = L"Zorvix安全卫士";
inline constexpr wchar_t kNoFolderText[] = L"对不起！现在无法查看应用程序目录……    ";
inline constexpr wchar_t kCannotUninstallText[] = L"对不起，该程序无法卸载……    ";
inline constexpr wchar_t kAllowListNotWrittenText[] =
    L"该启动项目已经删除，但是无法改写允许列表文件“\\sys\\regask.dat”，以后在同一位置出现的新项目可能不会再询问……    ";
inline constexpr wchar_t kHomeSite[] = L"https://www.zorvix.com/";
inline constexpr wchar_t kCommand5Caption[] = L"查看目录(&V)";
inline constexpr wchar_t kCommand6Caption[] = L"刷新列表(L)";
// The sibling tools behind the buttons and the tools menu.
inline constexpr wchar_t kViewTool[] = L"\\view.exe";
inline constexpr wchar_t kClearTool[] = L"\\clear.exe";
inline constexpr wchar_t kYearTool[] = L"\\year.exe ip";
// The introduction on the first page.
extern const wchar_t kIntroduction[];

}  // namespace zorvix
