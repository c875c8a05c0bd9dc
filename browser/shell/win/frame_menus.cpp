#include "browser/shell/win/frame_menus.h"

#include <commctrl.h>

#include <initializer_list>
#include <span>

#include "browser/shell/commands.h"
#include "browser/shell/sites.h"

namespace corvane {
namespace {

struct Item {
  int id;
  const wchar_t* text;  // null: a separator
  UINT flags = 0;
  HMENU sub = nullptr;
};

HMENU Popup(std::initializer_list<Item> items) {
  HMENU m = CreatePopupMenu();
  for (const Item& it : items) {
    if (it.sub)
      AppendMenuW(m, MF_POPUP | it.flags, reinterpret_cast<UINT_PTR>(it.sub), it.text);
    else
      AppendMenuW(m, it.text ? MF_STRING | it.flags : MF_SEPARATOR, it.id, it.text);
  }
  return m;
}

HMENU SitePopup(std::span<const SiteItem> sites, int first) {
  HMENU m = CreatePopupMenu();
  for (size_t i = 0; i < sites.size(); ++i) AppendMenuW(m, MF_STRING, first + int(i), sites[i].caption);
  return m;
}

// The Favorites menu's own site items: the online bookmarks first, the others in a submenu.
HMENU FavoritesMenu() {
  auto sites = MenuSites();
  HMENU more = CreatePopupMenu();
  for (size_t i = 2; i < sites.size(); ++i) {
    std::wstring_view key = sites[i].key;
    if (key == L"MailWY" || key == L"daili" || key == L"paimingInfo") AppendMenuW(more, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(more, MF_STRING, kMenuSiteFirst + int(i), sites[i].caption);
  }
  return Popup({{kAddHome, L"添加到收藏夹"},
                {kRelaodDir, L"刷新收藏夹"},
                {kSearchDir, L"收藏夹目录"},
                {0, nullptr},
                {kMenuSiteFirst, sites[0].caption},
                {kMenuSiteFirst + 1, sites[1].caption},
                {0, L"实用网址", 0, more}});
}

HMENU EngineMenu() {
  HMENU m = CreatePopupMenu();
  auto engines = EngineItems();
  for (size_t i = 0; i < engines.size(); ++i) {
    // A line between the kinds: web, pictures, music, shares, software, shopping.
    if (i == 4 || i == 7 || i == 10 || i == 13 || i == 16) AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m, MF_STRING, kEngineFirst + int(i), engines[i].caption);
  }
  return m;
}

HMENU TabMenu() {
  return Popup({{kCloseMe, L"关闭当前窗口"},
                {kHome, L"至页面顶部       (Home)"},
                {kEnd, L"至页面底部       (End )"},
                {0, nullptr},
                {kCloseAll, L"关闭全部窗口(&C)"},
                {kCloseRight, L"关闭右侧窗口"},
                {kCloseLeft, L"关闭左侧窗口"},
                {0, nullptr},
                {kCopyTitle, L"复制网站标题"},
                {kCopyUrl, L"复制网站地址"},
                {kPage, L"全部页面联结"},
                {kSource, L"源文件"},
                {0, nullptr},
                {kForward, L"前进"},
                {kBack, L"后退"},
                {kStop, L"停止"},
                {kRefresh, L"刷新"},
                {0, nullptr},
                {kFullScreen, L"全屏                         F11"}});
}

struct Button {
  int id;
  const wchar_t* label;  // null: a separator
  const wchar_t* tip;
  bool dropDown;
};

const Button kButtons[] = {
    {kNew, L"新建", L"新建空白网页", false},
    {kBack, L"后退", L"后退", false},
    {kForward, L"前进", L"前进", false},
    {kUpDir, L"向上", L"上层目录", true},
    {kStop, L"停止", L"停止下载", false},
    {kRefresh, L"刷新", L"刷新网页", false},
    {0, nullptr, nullptr, false},
    {kMyHome, L"主页", L"主页", false},
    {0, nullptr, nullptr, false},
    {kShoucang, L"收藏", L"网址收藏夹", false},
    {0, nullptr, nullptr, false},
    {kCancel, L"恢复", L"恢复关闭的网页", true},
    {kSearchSites, L"搜索", L"网上搜索九国", true},
    {kRadio, L"电台", L"音乐广播电台", false},
    {kFilmSites, L"电影", L"高清电影频道", true},
    {0, nullptr, nullptr, false},
    {kCloseMe, L"关闭", L"关闭当前页面", true},
};

}  // namespace

FrameMenus BuildFrameMenus() {
  FrameMenus m;
  m.file = Popup({{kNew, L"新建空白网页"},
                  {kOpenFile, L"打开本地文件(&O)..."},
                  {kSaveAs, L"另存为(&A)..."},
                  {0, nullptr},
                  {kPrint, L"打印(&P)"},
                  {kPrintSet, L"打印设置"},
                  {kPreview, L"打印预览(&G)"},
                  {0, nullptr},
                  {kCloseMe, L"关闭当前窗口"},
                  {kCloseRight, L"关闭右侧窗口"},
                  {kCloseLeft, L"关闭左侧窗口"},
                  {kCloseAll, L"关闭全部窗口(&C)"},
                  {kCancel, L"撤消关闭窗口"},
                  {0, nullptr},
                  {kOffnet, L"脱机工作(&T)"},
                  {kBohao, L"拨号上网(&N)"},
                  {0, nullptr},
                  {kXian, L"显示桌面"},
                  {kZhuo, L"桌面设置"},
                  {kMyPc, L"我的电脑"},
                  {kMyFriend, L"网上邻居"},
                  {kMyIe, L"IE浏览器"},
                  {kMail, L"电子邮件"},
                  {0, nullptr},
                  {kTurnOff, L"立即关闭电脑"},
                  {kExit, L"退出(&X)"}});
  HMENU edit = Popup({{kCut, L"剪切(&D)"},
                      {kCopy, L"复制(&C)"},
                      {kPaste, L"粘贴(&V)"},
                      {0, nullptr},
                      {kSelectAll, L"全选(&R)"},
                      {kFind, L"查找(&O)..."},
                      {0, nullptr},
                      {kCopyTitle, L"复制网站标题"},
                      {kCopyUrl, L"复制网站地址"},
                      {0, nullptr},
                      {kHome, L"至页面顶部       (Home)"},
                      {kEnd, L"至页面底部       (End )"}});
  HMENU move = Popup({{kMoveCurrent, L"当前窗口"},
                      {kMoveAll, L"所有窗口"},
                      {0, nullptr},
                      {kSlow, L"慢速", MF_CHECKED},
                      {kMedium, L"中速"},
                      {kFast, L"高速"}});
  // The toolbar's buttons and drop-downs, for the keyboard as well.
  m.up = CreatePopupMenu();      // filled from the address as it changes
  m.cancel = CreatePopupMenu();  // filled from the closed-page list
  m.searchDrop = SitePopup(SearchDropSites(), kSearchDropFirst);
  m.filmDrop = SitePopup(FilmDropSites(), kFilmDropFirst);
  m.close = Popup({{kCloseMe, L"关闭当前网页"},
                   {kCloseAll, L"关闭全部网页"},
                   {kCloseRight, L"关闭右侧网页"},
                   {kCloseLeft, L"关闭左侧网页"},
                   {kCloseBoth, L"关闭两侧网页"}});
  m.view = Popup({{kAnniu, L"标准按钮", MF_CHECKED},
                  {kDizhi, L"地址栏", MF_CHECKED},
                  {kZhuangtai, L"状态栏", MF_CHECKED},
                  {kShoucang, L"收藏夹"},
                  {0, nullptr},
                  {kBack, L"后退"},
                  {kForward, L"前进"},
                  {kStop, L"停止"},
                  {kRefresh, L"刷新"},
                  {kMyHome, L"主页"},
                  {0, L"上层目录", 0, m.up},
                  {0, L"恢复关闭的网页", 0, m.cancel},
                  {0, L"关闭当前页面", 0, m.close},
                  {0, nullptr},
                  {0, L"网上搜索九国", 0, m.searchDrop},
                  {0, L"高清电影频道", 0, m.filmDrop},
                  {kRadio, L"音乐广播电台"},
                  {0, nullptr},
                  {kFullScreen, L"全屏显示"},
                  {0, L"页面自动滚屏", 0, move},
                  {0, nullptr},
                  {kSource, L"源文件"},
                  {kLishi, L"历史记录"}});
  m.favorites = FavoritesMenu();
  m.sousuo = EngineMenu();
  m.group = Popup({{kGroupSetup, L"群组设置(&S)"}, {kGroupSave, L"保存所有窗口为群组(&G)"}, {0, nullptr}});
  HMENU tools = Popup({{kHistory, L"网站访问历史"},
                       {kProcess, L"系统进程管理"},
                       {kPage, L"全部页面联结"},
                       {kSource, L"源文件"},
                       {kPingTest, L"Ping 测试"},
                       {kIpConfig, L"IP 地址配置"},
                       {0, nullptr},
                       {kClearTraces, L"清除历史记录"},
                       {0, nullptr},
                       {kInternet, L"INTERNET选项"}});
  HMENU defaultBrowser = Popup({{kMakeDefault, L"设置【Corvane安全浏览器】为默认的浏览器"},
                                {kGiveDefaultBack, L"取消【Corvane安全浏览器】为默认的浏览器"}});
  // "内容控制", "允许 JavaApplet" and "网站黑名单" carry no behaviour: shown, greyed.
  HMENU options = Popup({{kOptions, L"系统选项"},
                         {kBlockList, L"广告阻止列表"},
                         {0, nullptr},
                         {kContentControl, L"内容控制", MF_GRAYED},
                         {kJavaApplet, L"允许 JavaApplet", MF_GRAYED},
                         {kBlackList, L"网站黑名单", MF_GRAYED},
                         {0, nullptr},
                         {0, L"缺省浏览器", 0, defaultBrowser}});
  m.labRight = TabMenu();
  HMENU help = Popup({{kHelp, L"帮助主题(&S)..."}, {0, nullptr}, {kAbout, L"关于(&A) "}});
  m.bar = CreateMenu();
  for (auto [menu, text] : {std::pair{m.file, L"文件(&F)"},
                            {edit, L"编辑(&E)"},
                            {m.view, L"查看(&V)"},
                            {m.favorites, L"收藏夹(&A)"},
                            {m.sousuo, L"搜索(%S)"},
                            {m.group, L"网站群组(G)"},
                            {tools, L"工具(&T)"},
                            {options, L"选项(&O)"},
                            {m.labRight, L"标签(&L)"},
                            {help, L"帮助(&H)"}})
    AppendMenuW(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), text);

  return m;
}

HWND CreateFrameToolbar(HWND parent, int id) {
  HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                CCS_NORESIZE | CCS_NOPARENTALIGN,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  for (const Button& b : kButtons) {
    TBBUTTON t{};
    t.iBitmap = b.label ? I_IMAGENONE : 6;
    t.idCommand = b.id;
    // Back and forward wait for a page that can go there.
    t.fsState = b.id == kBack || b.id == kForward ? 0 : TBSTATE_ENABLED;
    t.fsStyle = BYTE(b.label ? BTNS_AUTOSIZE | BTNS_SHOWTEXT | (b.dropDown ? BTNS_DROPDOWN : BTNS_BUTTON) : BTNS_SEP);
    t.iString = b.label ? reinterpret_cast<INT_PTR>(b.label) : 0;
    SendMessageW(tb, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&t));
  }
  return tb;
}

const wchar_t* ToolTipOf(int command) {
  for (const Button& b : kButtons)
    if (b.label && b.id == command) return b.tip;
  return nullptr;
}

int ToolbarPosition(HWND toolbar, int command) {
  int n = int(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    TBBUTTON t{};
    SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&t));
    if (!(t.fsStyle & BTNS_SEP) && t.idCommand == command) return i;
  }
  return -1;
}

HACCEL CreateFrameAccelerators() {
  ACCEL keys[] = {{FVIRTKEY, VK_F11, WORD(kFullScreen)},
                  {FVIRTKEY, VK_F6, WORD(kFocusAddress)},
                  {FVIRTKEY | FALT, 'D', WORD(kFocusAddress)},
                  {FVIRTKEY | FCONTROL, VK_TAB, WORD(kNextTab)},
                  {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, WORD(kPreviousTab)}};
  return CreateAcceleratorTableW(keys, int(std::size(keys)));
}

}  // namespace corvane
