// The preview window `FormPre` ("窗口预览"): a small always-on-top window that plays media, shows pages
// and text, or shows a picture fitted to it, for the row the user is at in the results list.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui/window.h"
#include "search/extras/preview_rules.h"
#include "search/extras/win/preview_panes.h"

namespace sercavo {

inline constexpr wchar_t kFormPreClass[] = L"SercavoFormPre";

class FormPre : public common::ui::Window {
 public:
  explicit FormPre(PreviewPanes panes) : panes_(std::move(panes)) {}
  // Previews the file of a row: the viewer by its extension, the window shown (or reused) without
  // waiting. Files of no viewer close the window; those of the default program open it and close it.
  void Preview(const std::wstring& path, HWND main);
  // Resets every viewer: hidden and empty.
  void FirstSet();
  // Fits the picture to the inner area and centres it.
  void ChangeImageWidth();
  bool previewShown() const { return previewShown_; }  // `PreviewShown`
  Viewer viewer() const { return viewer_; }
  // Where the picture is drawn, in client pixels.
  RECT PictureRect() const;
  void Close();
  // The viewer that shows files of that kind (null when there is none).
  PreviewPane* PaneOf(Viewer v) const;
  const PicturePane* picture() const { return panes_.picture.get(); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Load(HWND main);
  void Layout();

  PreviewPanes panes_;
  Viewer viewer_ = Viewer::None;
  std::wstring path_;
  HWND main_ = nullptr, tip_ = nullptr;
  bool previewShown_ = false;
};

}  // namespace sercavo
