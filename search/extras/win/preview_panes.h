// The viewers of the preview window, each behind one small interface: the media player and the HTML
// control are hosted controls a system may not have; the text and the picture are drawn by the program.
#pragma once
#include <ole2.h>
#include <windows.h>

#include <memory>
#include <string>

namespace sercavo {

class PreviewPane {
 public:
  virtual ~PreviewPane() = default;
  // Makes the viewer's window in parent (once); false when the viewer is not on this system.
  virtual bool Create(HWND parent) = 0;
  virtual void Open(const std::wstring& path) = 0;
  // Back to empty: no address, playback closed, no picture.
  virtual void Clear() = 0;
  virtual void Place(const RECT& r) = 0;
  virtual void Show(bool on) = 0;
  // The preview window is closing: the viewer lets go of its window (made again at the next Create).
  virtual void Detach() = 0;
  // The hosted control (counted; the caller releases it), for those who must ask it; null for a viewer the
  // program draws.
  virtual IUnknown* Hosted() const { return nullptr; }
};

class PicturePane : public PreviewPane {
 public:
  // The picture's natural size in pixels; 0 x 0 when none is loaded.
  virtual SIZE Natural() const = 0;
  // The size its pixels were decoded at (the box's, within a cap); 0 x 0 before it is placed.
  virtual SIZE Decoded() const = 0;
};

struct PreviewPanes {
  std::unique_ptr<PreviewPane> media, web, text;
  std::unique_ptr<PicturePane> picture;
};
// The system's viewers, one by one and all together.
std::unique_ptr<PreviewPane> MediaPlayerPane();
std::unique_ptr<PreviewPane> WebBrowserPane();
std::unique_ptr<PreviewPane> TextPreviewPane();
std::unique_ptr<PicturePane> PicturePreviewPane();
PreviewPanes SystemPreviewPanes();

// What the HTML control may do in the preview: no scripts, no controls, no downloads, no message boxes.
// Its site also answers every URL action of scripts, controls, applets, behaviours, downloads and the
// shell with "disallow".
DWORD PreviewDownloadControl();
// Sent to the picture's parent as WM_COMMAND (id kPictureId, code STN_DBLCLK) on a double-click.
inline constexpr int kPictureId = 40;

}  // namespace sercavo
