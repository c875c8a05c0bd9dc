#include "browser/shell/sites.h"

#include <cwctype>

#include "browser/shell/address_rules.h"
#include "common/text.h"

namespace corvane {
namespace {

constexpr wchar_t kPaiPage[] = L"\\pai.html";

const EngineItem kEngines[] = {
    {L"【搜索】谷歌+百度",
     {{kDefaultSearchSite, kDefaultSearchQuery}, {L"webSearch2", L"/search?hl=zh-CN&source=hp&q="}},
     true},
    {L"【搜索】百度", {{kDefaultSearchSite, kDefaultSearchQuery}}, true},
    {L"【搜索】Google", {{L"webSearch2", L"/search?hl=zh-CN&source=hp&q="}}, true},
    {L"【搜索】搜狗", {{L"webSearch3", L"/web?query="}}, true},
    {L"【图片】Google", {{L"imageSearch1", L"/images?hl=zh-CN&q="}}, true},
    {L"【图片】百度", {{L"imageSearch2", L"/i?tn=baiduimage&ct=201326592&lm=-1&cl=2&word="}}, true},
    {L"【图片】搜狗", {{L"imageSearch3", L"/pics?p=40230504&query="}}, true},
    {L"【音乐】搜狗音乐", {{L"musicSearch1", L"/music.so?query="}}, true},
    {L"【音乐】狗狗音乐", {{L"musicSearch2", L"/search?search="}}, true},
    {L"【音乐】百度音乐", {{L"musicSearch3", L"/m?f=3&rn=&tn=baidump3&ct=134217728&word="}}, true},
    {L"【BT】迅雷狗狗", {{L"filmSearch", L"/search?search="}}, true},
    {L"【BT】VeryCD", {{L"shareSearch1", L"/search/folders/"}}, true},
    {L"【BT】飞客网", {{L"shareSearch2", L"/search.aspx?q="}}, true},
    {L"【软件】天空软件站", {{L"softSearch1", L"/search.php?ss_name="}}, true},
    {L"【软件】华军软件园", {{L"softSearch2", L"/search.asp?keyword="}}, true},
    {L"【软件】多特软件站", {{L"softSearch3", L"/search.php?searchType=&so="}}, true},
    {L"【购物】淘宝网站", {{L"shopping1", L"/browse/cat-0.htm"}}, false},
    {L"【购物】阿里巴巴", {{L"shopping2", L"/search/offer_search.htm?keywords="}}, true},
    {L"【购物】当当网", {{L"shopping3", L"/search.aspx?selectcatalog=&key="}}, true},
    {L"【购物】卓越网", {{L"shopping4", L"/mn/searchApp?ix=sunraypageletid=headsearchsearchType=&keywords="}}, true},
};

const SiteItem kMenuSites[] = {
    {L"HomeYahoo", L"网络收藏夹（雅虎）", {{L"HomeYahoo", L"/"}}},
    {L"HomeBaidu", L"网络收藏夹（百度）", {{L"HomeBaidu", L"/"}}},
    {L"dao114", L"114啦网址导航", {{L"dao114", L"/"}}},
    {L"net265", L"265 上网导航", {{L"net265", L"/"}}},
    {L"net5566", L"5566 精彩网址", {{L"net5566", L"/"}}},
    {L"MailWY", L"网易邮箱(3.0G)", {{L"MailWY", L"/"}}},
    {L"MailYH", L"雅虎邮箱(3.5G)", {{L"MailYH", L"/"}}},
    {L"MailXL", L"新浪邮箱(2.0G)", {{L"MailXL", L"/"}}},
    {L"MailTOM", L"TOM 邮箱(1.5G)", {{L"MailTOM", L"/"}}},
    {L"daili", L"代理服务器列表", {{L"daili", L"/"}}},
    {L"TestSpeed", L"宽带速度测试", {{L"TestSpeed", L"/"}, {L"TestSpeed2", L"/gb/"}}},
    {L"MyIP", L"本机 IP 地址", {{L"MyIP", L"/"}}},
    {L"wannianli", L"万年历", {{L"wannianli", L"/list/wannianli.htm"}}},
    {L"tianqi", L"天气预报", {{L"tianqi", L"/"}}},
    {L"Today", L"历史上的今天", {{L"Today", L"/"}}},
    {L"fenghuang", L"凤凰卫视节目", {{L"fenghuang", L"/channel/FHZW.htm"}}},
    {L"tvtime", L"电视节目预告", {{L"tvtime", L"/"}}},
    {L"lieche", L"全国列车时刻", {{L"lieche", L"/train/"}}},
    {L"dict", L"英汉词典翻译", {{L"dict", L"/"}, {L"dict2", L"/"}}},
    {L"paimingInfo", L"网站排名信息", {{nullptr, kPaiPage}}},
    {L"paiming", L"中国网站排名", {{L"paiming", L"/top500/Rank.do?r=1236924173050"}}},
    {L"daxue", L"中国大学排名", {{L"daxue", L"/dxphb/"}}},
    {L"nettv", L"网络电视", {{L"nettv", L"/live"}}},
};

const SiteItem kSearchDrop[] = {
    {L"search", L"网上搜索九国", {{L"search", L"/search.htm"}}},
    {L"mytools", L"网络实用工具", {{L"mytools", L"/catalog/tool.htm"}}},
    {L"baixin", L"网站排名信息", {{nullptr, kPaiPage}}},
    {L"google", L"GOOGLE", {{L"google", L"/"}}},
    {L"baidu", L"百度", {{L"baidu", L"/"}}},
    {L"yahoo", L"雅虎中国", {{L"yahoo", L"/"}}},
    {L"sougou", L"搜狗", {{L"sougou", L"/"}}},
    {L"aiwen", L"新浪爱问", {{L"aiwen", L"/"}}},
    {L"sousou", L"腾讯搜搜", {{L"sousou", L"/"}}},
    {L"wangyi", L"网易搜索", {{L"wangyi", L"/"}}},
    {L"114la", L"114啦网址导航", {{L"114la", L"/"}}},
    {L"5566net", L"5566精彩网址大全", {{L"5566net", L"/"}}},
    {L"265net", L"265上网导航", {{L"265net", L"/"}}},
    {L"xianggangnet", L"香港网址导航", {{L"xianggangnet", L"/"}}},
    {L"taiwan", L"雅虎台湾搜索", {{L"taiwan", L"/"}}},
    {L"tw", L"台湾常用网址", {{L"tw", L"/tw/"}}},
};

const SiteItem kFilmDrop[] = {
    {L"xunlei", L"迅雷看看", {{L"xunlei", L"/"}}},
    {L"tom", L"TOM365免费电影", {{L"tom", L"/"}}},
    {L"ku6", L"酷6高清", {{L"ku6", L"/"}}},
    {L"bofang", L"播放免费电影 ", {{L"bofang", L"/"}}},
    {L"nvsheng", L"女生电影", {{L"nvsheng", L"/"}}},
    {L"verycd", L"VeryCD", {{L"verycd", L"/"}}},
    {L"tiantang", L"电影天堂", {{L"tiantang", L"/"}}},
    {L"pptv", L"PPTV 网络电视", {{L"pptv", L"/"}}},
    {L"pplive", L"PPTV 电视直播", {{L"pplive", L"/living/"}}},
    {L"pps", L"PPS 网络电视", {{L"pps", L"/"}}},
};

bool HoldsBlank(std::wstring_view s) {
  for (wchar_t c : s)
    if (std::iswspace(c) || c < 0x20) return true;
  return false;
}

// The host's address without a trailing "/", "http://" added when it names no scheme; nullopt when no
// host is left after the scheme ("http://", "/").
std::optional<std::wstring> BaseOf(std::wstring_view host) {
  std::wstring base(host);
  if (base.find(L"://") == std::wstring::npos) base = L"http://" + base;
  while (!base.empty() && base.back() == L'/') base.pop_back();
  size_t after = base.find(L"://");
  if (after == std::wstring::npos || after + 3 >= base.size() || base[after + 3] == L'/') return std::nullopt;
  return base;
}

// A key and its host are parted by a comma, the full-width one too.
size_t SeparatorOf(std::wstring_view line) { return line.find_first_of(L",\xFF0C"); }

}  // namespace

std::span<const EngineItem> EngineItems() { return kEngines; }
int DefaultEngineItem() { return 1; }
std::span<const SiteItem> MenuSites() { return kMenuSites; }
std::span<const SiteItem> SearchDropSites() { return kSearchDrop; }
std::span<const SiteItem> FilmDropSites() { return kFilmDrop; }
SiteLink SearchButtonSite() { return {L"search", L"/"}; }
SiteLink FilmButtonSite() { return {L"film", L"/"}; }

int SiteHosts::Load(std::wstring_view text) {
  hosts_.clear();
  int malformed = 0;
  for (const std::wstring& raw : common::SplitLines(text)) {
    std::wstring line = common::Trim(raw);
    if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
    size_t comma = SeparatorOf(line);
    std::wstring key = common::Trim(line.substr(0, comma));
    std::wstring host = comma == std::wstring::npos ? L"" : common::Trim(line.substr(comma + 1));
    if (key.empty() || host.empty() || HoldsBlank(key) || HoldsBlank(host) || !BaseOf(host)) {
      ++malformed;
      continue;
    }
    hosts_[key] = host;
  }
  return malformed;
}

std::optional<std::wstring> SiteHosts::Base(std::wstring_view key) const {
  auto it = hosts_.find(key);
  if (it == hosts_.end()) return std::nullopt;
  return BaseOf(it->second);
}

std::optional<std::wstring> SiteHosts::Address(const SiteLink& link, std::wstring_view appFolder) const {
  if (!link.site) {
    std::wstring folder(appFolder);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder + link.path;
  }
  auto base = Base(link.site);
  if (!base) return std::nullopt;
  return *base + link.path;
}

}  // namespace corvane
