// Forminfo "文件信息": the small translucent window that shows a file's report beside the pointer.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/shell_icon.h"
#include "common/win/ui/window.h"

namespace zorvix {

class Forminfo : public common::ui::Window {
 public:
  // Builds the report of a path (and may complete the path).
  using ReportBuilder = std::function<std::wstring(std::wstring& path)>;
  explicit Forminfo(ReportBuilder build) : build_(std::move(build)) {}

  // Creates the window hidden, layered at 200/255 opacity; false when it could not be made.
  bool Load(HWND owner);
  // Closes it; when it had the keyboard, the focus goes back where Activate took it from.
  void Unload();
  // Shows it active with the focus on its first link, for the keyboard: Tab moves between the links,
  // Enter or Space runs one, Esc closes. `back` gets the focus when it closes.
  void Activate(HWND back);
  bool loaded() const { return hwnd() != nullptr; }
  // Places the window's top-left corner (screen pixels).
  void Place(int left, int top);

  std::wstring FilePath;
  // Sets the report and the file's large icon.
  void drawiconex();
  const std::wstring& report() const { return report_; }

  // The three links.
  enum Link { kViewFolder, kRun, kCopyInfo };
  void LabcmdClick(Link link);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Fit();
  void OnClick(int id);
  void DrawLink(const DRAWITEMSTRUCT& item) const;
  int FocusedLink() const;
  ReportBuilder build_;
  HWND back_ = nullptr;
  std::wstring report_;
  common::Icon icon_;
  HWND label1_ = nullptr, imge_ = nullptr;
  HWND labcmd_[3] = {};
};

}  // namespace zorvix
