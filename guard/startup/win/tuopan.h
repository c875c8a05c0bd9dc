// tuopan "菜单列表": the hidden window that owns the tray icon and the tray menu.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "common/win/ui/window.h"

namespace zorvix {

// The system calls of the menu's actions; tests watch them instead of starting tools.
struct TraySystem {
  // Starts a command line without waiting; false when it could not be started.
  std::function<bool(const std::wstring& commandLine, int show)> start;
  // ShellExecute with a verb; false when the shell refused.
  std::function<bool(HWND owner, const std::wstring& verb, const std::wstring& file, int show)> shell;
  // The last resort of the forced shutdown.
  std::function<void()> exitWindows;
  static TraySystem Real();
};

// The local address, or nothing when the socket layer would not serve (the user has been told why).
using SocketStartup = int(__stdcall*)(WORD version, LPWSADATA data);
std::optional<std::wstring> GetLocalIP(SocketStartup startup = nullptr);

class Tuopan : public common::ui::Window {
 public:
  // What the menu opens in the rest of the guard.
  struct Hooks {
    std::function<void()> openControlCentre;  // left click and "【Zorvix安全卫士】"
    std::function<void()> showProcessWindow;  // "系统进程管理"
    std::function<void()> openFirewall;       // "当前网络连接"
    std::function<void()> exit;               // "软件退出"
    HWND mainWindow = nullptr;                // owner of the update page
  };
  explicit Tuopan(TraySystem system = TraySystem::Real());
  ~Tuopan() override;

  // Creates the hidden window and its menu, and adds the tray icon.
  bool Load(Hooks hooks, HICON icon);
  // Removes the tray icon and the window.
  void Unload();
  bool iconShown() const { return iconShown_; }
  // A notice from the tray icon that does not wait for an answer (cut to what the balloon holds). False
  // when the shell took none; the text is kept as the last notice either way.
  bool Balloon(const std::wstring& text);
  // A line under the tip's greeting (the firewall off, the network cut); empty for none.
  void SetStateLine(const std::wstring& line);
  const std::wstring& lastBalloon() const { return balloon_; }
  const std::wstring& tip() const { return tip_; }
  HMENU tray() const { return tray_; }

  // Reads the start-up value back into the check mark of "开机时自动运行".
  void RefreshAutorunCheck();
  // SysTrayMouseEventHandler: brings this window to the foreground, then pops the menu up.
  void SysTrayMouseEventHandler();
  void Command(int id);
  // Shows the popup menu at a screen point (the real one tracks it; tests may watch instead).
  std::function<void(HMENU menu, POINT screen)> showPopup;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool AddTrayIcon();
  void RemoveTrayIcon();
  void OnTrayMessage(LPARAM what);
  void BuildMenu();
  void ToggleAutorun();
  void ShowLocalIP();
  void ExploreDrive(int index);
  void StartTool(const wchar_t* tool);
  void OpenConfig();
  void ConfirmShutdown();
  void ForceShutdown();
  void About();
  static void Run(const std::function<void()>& f) {
    if (f) f();
  }

  TraySystem system_;
  Hooks hooks_;
  HICON icon_ = nullptr;
  HMENU tray_ = nullptr;
  NOTIFYICONDATAW nid_{};
  std::wstring tip_;
  std::wstring balloon_;
  bool iconShown_ = false;
  UINT taskbarCreated_ = 0;
};

}  // namespace zorvix
