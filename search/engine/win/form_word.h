// The text search window `FormWord` ("全盘搜索文字"): finds the files whose content holds a text, lists
// them, shows the chosen one with its first hit selected, finds the next hit and replaces the text in
// every file found.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/text_codec.h"
#include "common/win/text_file.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/tips.h"

namespace sercavo {

inline constexpr wchar_t kFormWordClass[] = L"SercavoFormWord";

class FormWord : public common::ui::Window {
 public:
  enum : int {
    kIdFind = 10,    // Combo1
    kIdReplaceText,  // Text2
    kIdFolder,       // Combo2
    kIdBrowse,       // Command1
    kIdTypes,        // Combo4
    kIdSize,         // Combo3
    kIdCase,
    kIdStart,       // Command2
    kIdReplaceAll,  // Command3
    kIdList,        // Listx
    kIdPane,        // rtf
    kIdStatus,
    kIdListFrame,
    kIdPaneFrame,
  };
  // Creates the window, or brings it forward when it is open (`Form_Load`).
  bool Load(HWND owner);

  void Command1Click();  // browse
  void Command2Click();  // start or stop
  void Command3Click();  // replace all
  // Shows the chosen file; with focusPane (a click) the pane takes the focus at the first hit, otherwise
  // (Up and Down in the list) the focus stays in the list.
  void ListxClick(bool focusPane = true);
  void FindNext();
  // Saves the pane as plain text in the shown file's form and line ends; false when it was refused or
  // failed (the user is told why, the file is left as it was).
  bool SaveAs(const std::wstring& path);
  bool searching() const { return searching_; }

  HWND control(int id) const { return GetDlgItem(hwnd(), id); }
  std::wstring Status(int panel) const;
  // The content pane's text, paragraphs ended by "\r" as the pane counts positions.
  std::wstring PaneText() const;
  std::wstring Tip(int id) const { return tips_.Text(control(id)); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  HMENU CreateMenus();
  void Layout();
  void OnCommand(int id, int code);
  void Start();
  void WalkOne(const std::wstring& folder);
  void PumpStep();
  void SetStatus(int panel, const std::wstring& text);
  void FlushStatus();
  std::wstring ReadingText(int panel) const;
  void Finish();
  void ShowInPane(const std::wstring& path, bool focusPane);
  void Select(size_t at, size_t length, bool focus = true);
  void PaneMenuFromKeyboard();
  std::vector<int> StatusWidths();
  bool QueryUnload();
  void SaveAsClick();
  bool OverSplitter(int x, int y) const;

  common::ui::StatusBar sta_;
  Tips tips_;
  HACCEL accel_ = nullptr;
  HMENU editMenu_ = nullptr;
  bool searching_ = false, replaceMode_ = false;
  std::wstring textextser_;  // the text of the file shown last
  size_t intweinew_ = 0;     // where find-next goes on
  std::wstring shownPath_;
  common::TextFormat shownFormat_;
  std::wstring shownLineEnd_ = L"\r\n";
  SaveRefusal shownRefusal_ = SaveRefusal::kNone;  // why the pane's text may not go over the shown file
  int listWidth_ = 0;                              // twips; the splitter moves it
  bool dragging_ = false;
  ULONGLONG lastPump_ = 0, lastShown_ = 0;
  std::vector<std::wstring> pendingHits_;
  std::vector<std::pair<std::wstring, NotReplaced>> notReplaced_;
  bool listKeys_ = false;  // the list is handling a key: its selection moves by the keyboard
  struct Reading {
    std::wstring path;
    uint64_t bytes = 0;
    int32_t scanned = 0;
    bool pending = false;
  } reading_;  // the file read last, for panels 1, 3 and 5
  std::wstring pendingStatus_[8];
  bool statusPending_[8] = {};
};

}  // namespace sercavo
