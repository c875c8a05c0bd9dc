// Formask: the dialog through which the monitors ask about a suspicious program. Network mode (red)
// asks about a program holding a connection, registry mode (blue) about a new start-up value. It
// counts down and denies by itself, and records a lasting decision when the user ticks the box.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/win/shell_icon.h"
#include "common/win/text_file.h"
#include "common/win/ui/window.h"
#include "guard/monitors/countdown.h"
#include "guard/monitors/tcp_source.h"
#include "guard/monitors/win/process_freeze.h"
#include "guard/process/win/process_actions.h"
#include "guard/guard_state.h"

namespace zorvix {

enum class AskMode { Network, Registry };
// The back colours of `Laback` that tell the modes apart.
inline constexpr COLORREF kNetworkColour = 255, kRegistryColour = 0xFF0000;

// What a dialog asks about. Each dialog keeps its own copy, so that what others change meanwhile
// cannot turn its answer onto another program or connection.
struct AskSubject {
  AskMode mode = AskMode::Network;
  std::wstring FilePath;    // the program
  std::wstring regpath;     // registry mode: root name, key path and value name joined by "\", lower-case
  TcpRow connection;        // network mode: the connection the program holds
  ProcessIdentity process;  // network mode: the connection's owner (registry mode: found on opening)
};

enum class AskAnswer {
  Allowed,        // "允许(&Y)" or "本次允许" without the tick
  AllowedAlways,  // "允许(&Y)" with the tick
  Denied,         // "拒绝(&N)" without the tick
  DeniedAlways,   // "拒绝(&N)" with the tick
  TimedOut,       // the countdown's own deny
  Ended,          // "终止进程"
  FileDeleted,    // "删除文件" confirmed
  Closed,         // close box, Esc, "删除文件" cancelled, or the guard unloading: nothing decided
};

// What the dialog needs from the guard. fileInfo is required; the rest may stay empty.
struct AskHooks {
  // The file-information report of a path (the path may be completed).
  std::function<std::wstring(std::wstring& path)> fileInfo;
  // Registry mode: the running process of a program, pid 0 when none.
  std::function<ProcessIdentity(const std::wstring& path)> findProcess;
  // The signer's name of a validly signed file; nullopt when it carries no valid signature.
  std::function<std::optional<std::wstring>(const std::wstring& path)> signer;
  // Network mode: store a lasting decision (block 1 = allowed, 0 = blocked), delete the connection.
  std::function<void(const std::wstring& path, int block)> addProgram;
  std::function<void(const TcpRow& row)> dropConnection;
  // Registry mode: deletes the start-up value asked about (in the registry view it was read from) and
  // returns what to tell the user when it stays. When empty, the value named by regpath is deleted in the
  // default view.
  std::function<std::optional<std::wstring>(const AskSubject& subject)> deleteStartupValue;
  // Ends the program's process (default: EndPro).
  std::function<EndResult(const ProcessIdentity& process)> endProcess;
  // Once, when the dialog closes, whichever way.
  std::function<void(const AskSubject& subject, AskAnswer answer)> closed;
  // "查看目录" and the opening of "\info.txt"; tests may watch instead.
  std::function<void(const std::wstring& path)> openFolder;
  std::function<void(const std::wstring& file)> openFile;
  // The program's folder, where "\sys\regask.dat" and "\info.txt" live (default: the running program's).
  std::wstring folder;
};

class Formask : public common::ui::Window {
 public:
  // Opens a dialog: modeless, top-most, not taking the focus. frozen holds the program's threads
  // suspended; they are resumed when the dialog closes, whichever way.
  static Formask* Open(AskSubject subject, AskHooks hooks, std::unique_ptr<FrozenProcess> frozen = nullptr);
  // The open dialogs, oldest first.
  static std::vector<Formask*> OpenDialogs();
  // Closes every open dialog as its close box would (the guard or the firewall unloads).
  static void UnloadAll(std::optional<AskMode> mode = std::nullopt);

  const AskSubject& subject() const { return subject_; }
  bool frozen() const { return frozen_ != nullptr; }
  // The program's process as the dialog knows it (pid 0 when not running).
  ProcessIdentity RunningProcess() const;
  const Countdown& countdown() const { return countdown_; }
  const std::wstring& report() const { return report_; }

  // The controls' actions.
  void Command1Click();      // "允许(&Y)"
  void Command3Click();      // "本次允许"
  void Command2Click();      // "拒绝(&N)"
  void CmdendClick();        // "终止进程"
  void CmdClick(int index);  // 0 "查看目录", 1 "模块信息", 2 "删除文件"
  void Image1Click();        // "暂停时间"
  void SetChk(bool on);
  bool Chk() const;
  // One countdown tick at the given clock (the timer passes the real one).
  void Timer1Tick(uint64_t nowMs);

  HWND label4() const { return label4_; }
  HWND label6() const { return label6_; }
  HWND control(int id) const { return GetDlgItem(hwnd(), id); }
  enum Id : int {
    kLaback = 10,
    kTextask,
    kImge,
    kLabel2,
    kSigner,
    kRunsOn,
    kChk,
    kCommand1,
    kCommand3,
    kCommand2,
    kCmd0,
    kCmd1,
    kCmd2,
    kCmdend,
    kImage1,
    kLabel4,
    kLabel6,
    kHint
  };

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  Formask(AskSubject subject, AskHooks hooks, std::unique_ptr<FrozenProcess> frozen);
  bool Load();
  void CreateControls();
  void Activate();
  void KeepAbove();
  int Layout();
  void Deny(AskAnswer how);
  EndResult End(const ProcessIdentity& process);
  void RecordRegistry(bool allow);
  void EndAndDeleteFile();
  void ListModules();
  int Ask(const std::wstring& text, UINT flags);
  void Close(AskAnswer answer);
  void Finish(AskAnswer answer);
  std::wstring Folder() const;

  AskSubject subject_;
  AskHooks hooks_;
  std::unique_ptr<FrozenProcess> frozen_;
  std::optional<OpenWindowMark> open_;  // counts this dialog in AskWindowOpen while it is open
  Countdown countdown_;
  ProcessIdentity process_;
  std::wstring report_;
  std::optional<std::wstring> signer_;
  common::Icon icon_;
  HBRUSH modeBrush_ = nullptr;
  HFONT boldFont_ = nullptr;
  HWND label4_ = nullptr, label6_ = nullptr;
  bool closing_ = false;
  bool asking_ = false;  // a message box of ours is up: the countdown waits
};

// "目前该程序还没有启动……    " and the other texts of the dialog.
inline constexpr wchar_t kNotRunningText[] = L"目前该程序还没有启动……    ";
inline constexpr wchar_t kNoModulesText[] = L"对不起，目前该程序还没有启动……    ";
std::wstring DeleteFileQuestion(const std::wstring& path);
// A program that could not be ended runs on, and the user must know.
std::wstring EndFailedText(const std::wstring& name);
// "\info.txt" could not be written (a module path the code page cannot hold, or the write failed).
std::wstring InfoNotWrittenText(const std::wstring& file, const common::TextWrite& write);

}  // namespace zorvix
