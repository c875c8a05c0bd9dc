// Command numbers of the frame's menus, toolbar and drop-downs. Every menu item and button sends one;
// FrmMain::Command dispatches them. Items that come in runs (closed pages, parent folders, engines, sites)
// have a first number. Numbers from 3000 on are free for the windows of the favorites, groups and tools.
#pragma once

namespace corvane {

enum Command : int {
  // Windows and tabs.
  kCloseMe = 1001,
  kCloseRight,
  kCloseLeft,
  kCloseBoth,
  kCloseAll,
  kCancel,
  kNew,
  kOpenFile,
  kPage,
  kExit,
  // The active page.
  kBack = 1020,
  kForward,
  kStop,
  kRefresh,
  kMyHome,
  kUpDir,
  kHome,
  kEnd,
  kCopyTitle,
  kCopyUrl,
  kSource,
  kFullScreen,
  kCopy,
  kCut,
  kPaste,
  kSelectAll,
  kFind,
  kPrint,
  kPrintSet,
  kPreview,
  kSaveAs,
  // View.
  kAnniu = 1050,
  kDizhi,
  kZhuangtai,
  kShoucang,
  kMoveCurrent,
  kMoveAll,
  kSlow,
  kMedium,
  kFast,
  kFocusAddress,
  kNextTab,
  kPreviousTab,
  // Tools, options and system.
  kHistory = 1070,
  kLishi,
  kProcess,
  kRadio,
  kClearTraces,
  kOptions,
  kBlockList,
  kInternet,
  kOffnet,
  kBohao,
  kXian,
  kZhuo,
  kMyPc,
  kMyFriend,
  kMyIe,
  kMail,
  kTurnOff,
  kHelp,
  kAbout,
  kContentControl,
  kJavaApplet,
  kBlackList,
  kMakeDefault,
  kGiveDefaultBack,
  kPingTest,
  kIpConfig,
  // The toolbar buttons `search` and `film` (their drop-downs are site runs below).
  kSearchSites = 1100,
  kFilmSites,
  // Favorites and groups.
  kAddHome = 1110,
  kRelaodDir,
  kSearchDir,
  kGroupSetup,
  kGroupSave,
  // Runs.
  kUr1 = 1200,
  kClear = kUr1 + 15,       // "ur1".."ur15", then "清除以上历史记录(&C)"
  kUp1 = 1220,              // "Up1".."Up9"
  kEngineFirst = 1240,      // the engine menu's 20 items
  kMenuSiteFirst = 1300,    // the site items of the Favorites menu
  kSearchDropFirst = 1400,  // the `search` drop-down
  kFilmDropFirst = 1500,    // the `film` drop-down
};

}  // namespace corvane
