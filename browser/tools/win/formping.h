// Formping: the tool window that shows a page's source, the output of ping for an address's host, or the
// address configuration, by its caption; a toolbar refreshes, saves, finds, copies, cuts, pastes and
// prints the text. Several may be open at once, each with its own command and output.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "browser/pages/win/focus_keeper.h"
#include "browser/tools/tool_text.h"
#include "browser/tools/win/command_output.h"
#include "common/win/ui/window.h"

namespace corvane {

inline constexpr wchar_t kSaveFilter[] = L"网页，仅html（htm ；html)|*.htm;*.html|文本文件（TXT）|*.txt";
inline constexpr wchar_t kPingRejected[] =
    L"不能测试这个地址：只有主机名、IPv4 地址或 IPv6 地址才能进行 Ping 测试。";

class Formping : public common::ui::Window {
 public:
  enum : int {
    kText1 = 500, kText2, kText3, kToolbar1,
    // Toolbar buttons, in their order.
    kOpen = 600, kSave, kFind, kLine, kCopy, kCut, kZhan, kPrint
  };
  // The HTML of the browser's current page, asked for at the moment it is shown.
  using SourceOf = std::function<std::wstring()>;

  explicit Formping(SourceOf source = {}) : source_(std::move(source)) {}
  // Creates the window (hidden) owned by `owner`, with the caption that chooses its mode.
  bool Create(HWND owner, const std::wstring& caption = kPingCaption);

  void code(const std::wstring& address);
  void ping();
  void ipconfig();
  void Timer1_Timer();
  // By the button's key: "open", "save", "find", "line", "copy", "cut", "zhan", "print".
  void Toolbar1_ButtonClick(std::wstring_view key);
  static std::wstring ToolTip(int id);

  HWND Text1() const { return text1_; }
  HWND Text2() const { return text2_; }
  HWND Text3() const { return text3_; }
  HWND Toolbar1() const { return toolbar1_; }
  bool timerOn() const { return timerOn_; }
  int timeip() const { return timeip_; }
  const CommandOutput& output() const { return output_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  void CreateToolbar();
  void Layout();
  void Run();
  void StartCommand(const wchar_t* program, const std::wstring& args);
  void StopTimer();
  void SetText1(const std::wstring& text);
  void Save();
  void Find();
  void Copy();
  void Paste();
  std::wstring Selection() const;

  SourceOf source_;
  HWND text1_ = nullptr, text2_ = nullptr, text3_ = nullptr, toolbar1_ = nullptr;
  HACCEL accel_ = nullptr;
  FocusKeeper focus_;
  CommandOutput output_;
  int timeip_ = 0;
  bool timerOn_ = false;
  bool busy_ = false;
  bool ownsSelf_ = false;
  friend Formping* OpenFormping(HWND, const std::wstring&, const std::wstring&, const std::wstring&, SourceOf);
};

// A new tool window that lives until it is closed (or its owner goes): shown, focused, Text2 = address,
// Text3 = title, the caption's mode run at once.
Formping* OpenFormping(HWND owner, const std::wstring& caption, const std::wstring& address,
                       const std::wstring& title, Formping::SourceOf source = {});

}  // namespace corvane
