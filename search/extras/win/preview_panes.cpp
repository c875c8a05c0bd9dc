#include "search/extras/win/preview_panes.h"

#include <exdisp.h>
#include <mshtmdid.h>
#include <wincodec.h>

#include "common/win/code_page.h"
#include "common/win/text_file.h"
#include "common/win/ui/window.h"
#include "search/extras/win/ole_container.h"

namespace sercavo {
namespace {

// The media player control.
constexpr CLSID kMediaPlayer = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
constexpr size_t kTextLimit = 4 << 20;  // a preview shows the start of a larger text file

VARIANT Bstr(const std::wstring& s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s.c_str());
  return v;
}

class HostedPane : public PreviewPane {
 public:
  HostedPane(const CLSID& clsid, DWORD downloadControl) : clsid_(clsid), downloadControl_(downloadControl) {}
  bool Create(HWND parent) override { return host_.created() || host_.Create(parent, clsid_, downloadControl_); }
  void Place(const RECT& r) override { host_.Move(r); }
  void Show(bool on) override { host_.Show(on); }
  void Detach() override { host_.Destroy(); }

 protected:
  OleContainer host_;

 private:
  CLSID clsid_;
  DWORD downloadControl_;
};

class MediaPane : public HostedPane {
 public:
  MediaPane() : HostedPane(kMediaPlayer, 0) {}
  void Open(const std::wstring& path) override { SetUrl(path); }
  void Clear() override {
    SetUrl(L"");
    if (IDispatch* d = host_.Get<IDispatch>(IID_IDispatch)) {
      CallMethod(d, L"close");
      d->Release();
    }
  }

 private:
  void SetUrl(const std::wstring& url) {
    IDispatch* d = host_.Get<IDispatch>(IID_IDispatch);
    if (!d) return;
    VARIANT v = Bstr(url);
    PutProperty(d, L"URL", v);
    VariantClear(&v);
    d->Release();
  }
};

class WebPane : public HostedPane {
 public:
  WebPane() : HostedPane(CLSID_WebBrowser, PreviewDownloadControl()) {}
  void Open(const std::wstring& path) override { Navigate(path); }
  void Clear() override { Navigate(L"about:blank"); }

 private:
  void Navigate(const std::wstring& address) {
    IWebBrowser2* web = host_.Get<IWebBrowser2>(IID_IWebBrowser2);
    if (!web) return;
    web->put_Silent(VARIANT_TRUE);
    VARIANT url = Bstr(address), empty;
    VariantInit(&empty);
    web->Navigate2(&url, &empty, &empty, &empty, &empty);
    VariantClear(&url);
    web->Release();
  }
};

class TextPane : public PreviewPane {
 public:
  bool Create(HWND parent) override {
    if (!edit_)
      edit_ = common::ui::CreateControl(
          parent, L"EDIT", L"",
          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
          kPictureId + 1, WS_EX_CLIENTEDGE);
    return edit_ != nullptr;
  }
  void Open(const std::wstring& path) override {
    std::wstring text = common::ReadTextFile(path, kTextLimit, common::ChineseCodePage()).text;
    SetWindowTextW(edit_, WithCrLf(text).c_str());
  }
  void Clear() override { SetWindowTextW(edit_, L""); }
  void Place(const RECT& r) override { MoveWindow(edit_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE); }
  void Show(bool on) override { ShowWindow(edit_, on ? SW_SHOW : SW_HIDE); }
  void Detach() override { edit_ = nullptr; }

 private:
  // The box breaks lines only at "\r\n".
  static std::wstring WithCrLf(const std::wstring& t) {
    std::wstring r;
    r.reserve(t.size() + t.size() / 32);
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == L'\n' && (i == 0 || t[i - 1] != L'\r')) r += L'\r';
      r += t[i];
      if (t[i] == L'\r' && (i + 1 >= t.size() || t[i + 1] != L'\n')) r += L'\n';
    }
    return r;
  }
  HWND edit_ = nullptr;
};

// The picture box `Imag`: the picture drawn stretched to the box, which the window sizes and centres.
class PictureBox : public common::ui::Window {
 public:
  ~PictureBox() override { Drop(); }
  void Load(const std::wstring& path) {
    Drop();
    bitmap_ = Decode(path, size_);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
  void Drop() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    size_ = {};
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
  }
  SIZE size() const { return size_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT: Paint(); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_LBUTTONDBLCLK:
        SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(kPictureId, STN_DBLCLK), LPARAM(hwnd()));
        return 0;
    }
    return Default(msg, wp, lp);
  }

 private:
  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT r;
    GetClientRect(hwnd(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (bitmap_) {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, bitmap_);
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, size_.cx, size_.cy, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    EndPaint(hwnd(), &ps);
  }

  // The first frame of a picture file as a bitmap of 32-bit pixels; null when it cannot be read.
  static HBITMAP Decode(const std::wstring& path, SIZE& size) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h)) && w > 0 && h > 0 && w < 32768 && h < 32768) {
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 32, BI_RGB};
      void* bits = nullptr;
      bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
      if (bitmap && FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        bitmap = nullptr;
      }
    }
    for (IUnknown* u : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                        static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
      if (u) u->Release();
    size = bitmap ? SIZE{LONG(w), LONG(h)} : SIZE{};
    return bitmap;
  }

  HBITMAP bitmap_ = nullptr;
  SIZE size_{};
};

class PictureViewer : public PicturePane {
 public:
  bool Create(HWND parent) override {
    return box_.hwnd() || box_.Create(L"SercavoPreviewPicture", L"", WS_CHILD, 0, 0, 0, 10, 10, parent,
                                      reinterpret_cast<HMENU>(INT_PTR(kPictureId)));
  }
  void Open(const std::wstring& path) override { box_.Load(path); }
  void Clear() override { box_.Drop(); }
  void Place(const RECT& r) override {
    MoveWindow(box_.hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  void Show(bool on) override { ShowWindow(box_.hwnd(), on ? SW_SHOW : SW_HIDE); }
  SIZE Natural() const override { return box_.size(); }
  void Detach() override { box_.Drop(); }

 private:
  PictureBox box_;
};

}  // namespace

DWORD PreviewDownloadControl() {
  return DLCTL_NO_SCRIPTS | DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_BEHAVIORS |
         DLCTL_NO_FRAMEDOWNLOAD | DLCTL_NO_CLIENTPULL | DLCTL_SILENT | DLCTL_DLIMAGES;
}

std::unique_ptr<PreviewPane> MediaPlayerPane() { return std::make_unique<MediaPane>(); }
std::unique_ptr<PreviewPane> WebBrowserPane() { return std::make_unique<WebPane>(); }
std::unique_ptr<PreviewPane> TextPreviewPane() { return std::make_unique<TextPane>(); }
std::unique_ptr<PicturePane> PicturePreviewPane() { return std::make_unique<PictureViewer>(); }

PreviewPanes SystemPreviewPanes() {
  return {MediaPlayerPane(), WebBrowserPane(), TextPreviewPane(), PicturePreviewPane()};
}

}  // namespace sercavo
