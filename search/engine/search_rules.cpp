#include "search/engine/search_rules.h"

#include "common/text.h"
#include "search/engine/search_state.h"

namespace sercavo {
namespace {
// Stored exactly as the lists were always kept: a leading word and a trailing comma, searched as text.
constexpr const wchar_t* kLists[kKindCount] = {
    nullptr,
    nullptr,
    L"find,mpg,avi,rm,rmvb,vob,wmv,asf,mov,",
    L"find,mp3,mid,wma,wav,",
    L"find,jpg,jpeg,gif,",
    L"find,swf,flv,",
    L"find,dir,diz,bak,old,prv,chk,tmp,db,~*,gid,err,dmp,",
};

// The 1-based position rule: found past the first character of the text.
bool FoundPastFirst(std::wstring_view hay, std::wstring_view needle) {
  size_t at = common::FindNoCase(hay, needle);
  return at != std::wstring_view::npos && at >= 1;
}

// Pictures and Flash must be larger than these many bytes; the other kinds take any size.
bool LargeEnough(int kind, uint64_t size) {
  if (kind == kPictures) return size > 30000;
  if (kind == kFlash) return size > 10000;
  return true;
}
}  // namespace

const std::wstring& KindCaption(int kind) {
  static const std::wstring captions[kKindCount] = {L"文件搜索", L"文字搜索",   L"电影搜索", L"音乐搜索",
                                                    L"图片搜索", L"Flash 搜索", L"垃圾搜索"};
  static const std::wstring none;
  return kind >= 0 && kind < kKindCount ? captions[kind] : none;
}

bool ShieldHides(const ShieldFlags& shields, int kind) {
  if (kind < kMovies || kind > kJunk) return false;
  return common::NumberOrZero(shields[kind - kMovies]) != 0;
}

std::wstring ExtensionKey(std::wstring_view name) {
  size_t dot = name.rfind(L'.');
  std::wstring_view ext = dot == std::wstring_view::npos ? name : name.substr(dot + 1);
  return L"," + std::wstring(ext) + L",";
}

bool KeywordMatches(std::wstring_view keyword, std::wstring_view name) {
  return !keyword.empty() && common::FindNoCase(name, keyword) != std::wstring_view::npos;
}

bool FileMatches(int kind, std::wstring_view keyword, std::wstring_view name, uint64_t size,
                 const ShieldFlags& shields) {
  if (kind == kName) return KeywordMatches(keyword, name);
  if (kind < kMovies || kind > kJunk || ShieldHides(shields, kind)) return false;
  if (!FoundPastFirst(kLists[kind], ExtensionKey(name))) return false;
  return LargeEnough(kind, size);
}

std::wstring FolderName(std::wstring_view path) {
  size_t slash = path.rfind(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring KiloText(uint64_t bytes) {
  // Thousands, not 1024s: the quotient in its shortest decimal form.
  std::wstring whole = std::to_wstring(bytes / 1000);
  std::wstring frac = std::to_wstring(bytes % 1000 + 1000).substr(1);
  while (!frac.empty() && frac.back() == L'0') frac.pop_back();
  return whole + (frac.empty() ? L"" : L"." + frac);
}

std::wstring SizeText(uint64_t bytes) { return KiloText(bytes) + L" KB"; }

std::wstring TypeText(std::wstring_view name) {
  size_t dot = name.rfind(L'.');
  return common::ToUpper(dot == std::wstring_view::npos ? name : name.substr(dot + 1));
}

bool IsSearchedDriveType(unsigned type) {
  // 0 unknown, 1 no root folder, 2 removable ("floppy") and 5 optical ("cdrom") are skipped; fixed ("hard"),
  // network and RAM drives are searched.
  return type != 0 && type != 1 && type != 2 && type != 5;
}

std::vector<std::wstring> SplitDriveStrings(std::wstring_view buffer) {
  std::vector<std::wstring> roots;
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring_view::npos) end = buffer.size();
    if (end > start) roots.push_back(common::ToUpper(buffer.substr(start, end - start)));
    start = end + 1;
  }
  return roots;
}

std::wstring PendingFolderOf(std::wstring_view commandLine) {
  // A starter that escapes the quotes (\") would leave a stray separator; the "\" of a drive root stays.
  std::wstring text;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    bool escape = commandLine[i] == L'\\' && i + 1 < commandLine.size() && commandLine[i + 1] == L'"' &&
                  (i == 0 || commandLine[i - 1] != L':');
    if (!escape) text += commandLine[i];
  }
  return common::Trim(common::RemoveAll(text, L'"'));
}

void KeywordHistory::Add(const std::wstring& keyword) {
  if (items_.size() < kSlots) items_.push_back(keyword);
}

SearchState& State() {
  static SearchState state;
  return state;
}

}  // namespace sercavo
