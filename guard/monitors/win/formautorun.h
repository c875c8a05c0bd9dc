// FormAutoRun "捕获病毒警告": the alert that lists an autorun file and what it starts, and deletes them.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/win/ui/list_view.h"
#include "common/win/ui/window.h"
#include "guard/guard_state.h"

namespace zorvix {

class FormAutoRun : public common::ui::Window {
 public:
  // Deletes one listed file of the drive at root; true when it is gone. Tests may put a stand-in here.
  std::function<bool(const std::wstring& path, const std::wstring& root)> deleteFile;
  // Writes a DWORD under HKEY_LOCAL_MACHINE; false when refused (a standard user). Tests refuse here.
  std::function<bool(const std::wstring& key, const std::wstring& name, DWORD value)> writePolicy;
  FormAutoRun();
  ~FormAutoRun() override;

  // Creates the window hidden, top-most; raises the ask-window hold, allows hidden files to be shown
  // and plays the alert sound.
  bool Load();
  void Unload() { Destroy(); }
  bool loaded() const { return hwnd() != nullptr; }
  // Shows the window in front of the others without taking the keys from the window that has them: the
  // user may be typing, and no key of theirs must clear anything.
  void Show();

  // Adds one row for a file of the drive at root. A file the cleaner must not touch is listed as not
  // deleted.
  void addlist(const std::wstring& softpath, const std::wstring& root, bool deletable = true);
  void SetHeading(const std::wstring& text);

  void Command1Click();  // "立即清除(&Y)"
  void Command2Click();  // "以后再说(&C)"
  void Label2Click();
  void Timer1Tick();

  common::ui::ListView& lvw() { return lvw_; }
  std::wstring heading() const;
  std::wstring status() const;
  HWND command(int i) const { return i == 1 ? command1_ : command2_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Row {
    std::wstring path, root;
    bool deletable;
  };
  void CreateControls();
  void Layout();
  void Closed();
  void ShowNotes();

  common::ui::ListView lvw_;
  common::ui::ImageList icons_;
  std::vector<Row> rows_;  // in list order, by key "#n"
  int nextKey_ = 0;
  const wchar_t* rowsNote_ = nullptr;  // why rows stayed
  bool hiddenShown_ = true;            // the value that shows hidden files could be written
  HWND label1_ = nullptr, label2_ = nullptr, label3_ = nullptr;
  HWND command1_ = nullptr, command2_ = nullptr;
  std::optional<OpenWindowMark> open_;  // counts this window in AskWindowOpen while it is open
};

// The address behind the alert's download link.
inline constexpr wchar_t kRescueToolSite[] = L"https://www.zorvix.cn/rescue/";

}  // namespace zorvix
