// The search program's main window `frmMain`: search kinds, the search itself, the results list, its
// buttons and menus.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "search/engine/win/form_word.h"
#include "search/engine/win/results_list.h"
#include "search/extras/win/preview_panes.h"

namespace sercavo {

inline constexpr wchar_t kMainCaption[] = L"Sercavo";
inline constexpr wchar_t kSearchF[] = L"搜索(&F)";
inline constexpr wchar_t kSearchS[] = L"搜索(&S)";
inline constexpr wchar_t kStopS[] = L"停止(&S)";
inline constexpr wchar_t kStoppedText[] = L"搜索已经停止";

class FormPre;

class FrmMain : public common::ui::Window {
 public:
  // The preview window's viewers: the system's, or stand-ins where a system lacks them.
  explicit FrmMain(PreviewPanes panes = SystemPreviewPanes());
  ~FrmMain() override;
  // Control ids: the option buttons are kIdOpt + kind, the buttons kIdCmd + 1 to 7.
  enum : int { kIdList = 100, kIdStatus = 101, kIdOpt = 200, kIdCmd = 300 };
  // Start-up, the window and its controls; the command line names the folder for the first search window.
  bool Load(const std::wstring& commandLine);

  // One search over a folder or "我的电脑"; false when another is already running.
  bool Search(const std::wstring& mulu);
  // While a search walks (this window's, or the text search's): tells the user and is true.
  bool RefuseWhileWalking();
  bool searching() const { return searching_; }
  void OptClick(int index);
  void Command1Click();
  std::wstring Command1Caption() const;
  void SetCommand1Caption(const std::wstring& caption);
  // Status panels 1 to 5.
  void SetStatus(int panel, const std::wstring& text);
  std::wstring Status(int panel) const;
  const std::wstring& pendingFolder() const { return pendingFolder_; }
  // Hands the folder of the command line to a search window once.
  std::wstring TakePendingFolder();

  ResultsList& lvw() { return lvw_; }
  // Copy, move or delete (a FileOpKind) of the selected rows through the copy window.
  void RunFileOp(int kind, const std::wstring& targetFolder);
  void CopyOrMoveClick(int kind);
  void DeleteClick();
  // Opens the given row's file, or the active row's when row is -1.
  void OpenClick(int row = -1);
  // A left-button release on the list (row: the clicked one, -1 for the active one): the row's path goes to
  // the clipboard and the row is previewed.
  // button: kLeftButton or another; shift: kShiftDown and kCtrlDown as held.
  static constexpr int kLeftButton = 1, kShiftDown = 1, kCtrlDown = 2;
  void ListMouseUp(int button, int shift, int row = -1);
  bool fileView() const { return fileView_; }
  FormWord& formWord() { return formWord_; }
  FormPre& formPre() { return *formPre_; }
  // Starting a search closes the preview.
  void ClosePreview();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override { PostQuitMessage(0); }

 private:
  void CreateControls();
  HMENU CreateMenus();
  void Layout();
  void PaintOptions(int chosen);
  void OnCommand(int id);
  void EnterKey();
  void OnNotify(NMHDR* hdr);
  bool QueryUnload();
  void VisitFolder(const std::wstring& path, const FILETIME& modified);
  void AddFile(const std::wstring& folder, const WIN32_FIND_DATAW& entry);
  void ShowCounters();
  void WalkOne(const std::wstring& path);
  void PumpStep();
  void FlushStatus();
  void FocusList() { SetFocus(lvw_.hwnd()); }

  ResultsList lvw_;
  common::ui::StatusBar sta_;
  HWND opt_[7] = {};
  HWND cmd_[8] = {};
  HMENU editMenu_ = nullptr;
  HACCEL accel_ = nullptr;
  HBRUSH optBrush_ = nullptr, chosenBrush_ = nullptr;
  int chosen_ = 0;
  std::wstring pendingFolder_;
  bool searching_ = false;
  ULONGLONG lastPump_ = 0, lastShown_ = 0;
  // Status texts set during a search, shown at the next pump step: redrawing a panel per folder costs
  // more than reading the folder.
  std::wstring pendingStatus_[6];
  bool statusPending_[6] = {};
  bool fileView_ = true;
  FormWord formWord_;
  std::unique_ptr<FormPre> formPre_;
};

}  // namespace sercavo
