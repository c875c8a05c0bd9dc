// Formsetup "系统设置中心": the home page, how a new window shows, the radio tool at start and the question
// before exiting, loaded from and saved to the settings store.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "browser/pages/win/focus_keeper.h"
#include "browser/tools/options.h"
#include "common/win/ui/window.h"

namespace corvane {

class Formsetup : public common::ui::Window {
 public:
  enum : int {
    kTextStart = 800, kCmd0 = 810, kOptt0 = 820, kOptt1, kCheckRadio = 830, kCheckQuit,
    kCommand1 = IDOK, kCommand2 = IDCANCEL
  };
  struct Hooks {
    std::function<std::wstring()> currentAddress;  // "使用当前页": the browser's address box
    std::function<void(int)> startwindows;         // the in-memory copy, set on save
    std::function<std::wstring()> defaultAddress;  // "使用默认页": the configured start site
  };
  explicit Formsetup(Hooks hooks = {}) : hooks_(std::move(hooks)) {}
  bool Create(HWND owner);

  void Form_Load();
  void cmd_Click(int index);
  void Command1_Click();
  Options Current() const;

  HWND TextStart() const { return textStart_; }
  HWND Optt(int index) const { return optt_[size_t(index)]; }
  HWND CheckRadio() const { return checkRadio_; }
  HWND CheckQuit() const { return checkQuit_; }
  HWND cmd(int index) const { return cmd_[size_t(index)]; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  Hooks hooks_;
  HWND textStart_ = nullptr, checkRadio_ = nullptr, checkQuit_ = nullptr;
  std::array<HWND, 2> optt_{};
  std::array<HWND, 3> cmd_{};
  FocusKeeper focus_;
};

// Shows the dialog modally over owner.
void ShowFormsetup(HWND owner, Formsetup::Hooks hooks);

// Reads and writes the four settings in their stored form.
StoredOptions ReadStoredOptions();
void WriteStoredOptions(const StoredOptions& options);

}  // namespace corvane
