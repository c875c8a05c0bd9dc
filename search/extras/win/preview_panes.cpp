#include "search/extras/win/preview_panes.h"

#include <exdisp.h>
#include <mshtmdid.h>
#include <wincodec.h>
#include <wmp.h>

#include "common/win/code_page.h"
#include "common/win/text_file.h"
#include "common/win/ui/window.h"
#include "common/text_codec.h"
#include "search/extras/preview_rules.h"
#include "search/extras/win/ole_container.h"

namespace sercavo {
namespace {

// The media player control.
constexpr CLSID kMediaPlayer = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// A preview shows the start of a text file: what the box can show, not the whole file.
constexpr size_t kTextShown = 256u << 10;
// A picture is kept at most this large, whatever the box; larger sources are not decoded at all.
constexpr int64_t kShownPixels = 16ll << 20, kSourcePixels = 256ll << 20;

VARIANT Bstr(const std::wstring& s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s.c_str());
  return v;
}

class HostedPane : public PreviewPane {
 public:
  HostedPane(const CLSID& clsid, DWORD downloadControl, bool lockedDown)
      : clsid_(clsid), downloadControl_(downloadControl), lockedDown_(lockedDown) {}
  bool Create(HWND parent) override {
    if (host_.created()) return true;
    if (!host_.Create(parent, clsid_, downloadControl_, lockedDown_)) return false;
    Created();
    return true;
  }
  void Place(const RECT& r) override { host_.Move(r); }
  void Show(bool on) override { host_.Show(on); }
  void Detach() override { host_.Destroy(); }
  IUnknown* Hosted() const override { return host_.Get<IUnknown>(IID_IUnknown); }

 protected:
  // The control is there: what it lets be turned off is turned off.
  virtual void Created() {}
  OleContainer host_;

 private:
  CLSID clsid_;
  DWORD downloadControl_;
  bool lockedDown_;
};

// The media player, through its own interfaces (some systems' player answers no IDispatch).
class MediaPane : public HostedPane {
 public:
  MediaPane() : HostedPane(kMediaPlayer, 0, false) {}
  void Open(const std::wstring& path) override { SetUrl(path); }
  void Clear() override {
    SetUrl(L"");
    if (IWMPCore* core = Core()) {
      core->close();
      core->Release();
    }
  }

 protected:
  // A media file's script commands may name web addresses: the player is told not to open them, nor to
  // show its own error dialogs over the preview.
  void Created() override {
    IWMPCore* core = Core();
    if (!core) return;
    IWMPSettings* settings = nullptr;
    if (SUCCEEDED(core->get_settings(&settings)) && settings) {
      settings->put_invokeURLs(VARIANT_FALSE);
      settings->put_enableErrorDialogs(VARIANT_FALSE);
      settings->Release();
    }
    core->Release();
  }

 private:
  IWMPCore* Core() const { return host_.Get<IWMPCore>(__uuidof(IWMPCore)); }
  void SetUrl(const std::wstring& url) {
    IWMPCore* core = Core();
    if (!core) return;
    BSTR b = SysAllocString(url.c_str());
    core->put_URL(b);
    SysFreeString(b);
    core->Release();
  }
};

class WebPane : public HostedPane {
 public:
  WebPane() : HostedPane(CLSID_WebBrowser, PreviewDownloadControl(), true) {}
  void Open(const std::wstring& path) override { Navigate(path); }
  void Clear() override { Navigate(L"about:blank"); }

 private:
  void Navigate(const std::wstring& address) {
    IWebBrowser2* web = host_.Get<IWebBrowser2>(IID_IWebBrowser2);
    if (!web) return;
    web->put_Silent(VARIANT_TRUE);
    web->put_Offline(VARIANT_TRUE);
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
    std::string head;
    uint64_t size = 0;
    std::wstring text;
    if (common::ReadFileRange(path, 0, kTextShown, head, &size) == common::ReadStatus::kRead)
      text = common::TextOfHead(head, head.size() == size, common::ChineseCodePage());
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

// Releases a COM pointer when it goes.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T** out() { return &p; }
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

// The first frame of a picture file through the platform's imaging decoder.
struct PictureFrame {
  Com<IWICImagingFactory> factory;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;

  bool Open(const std::wstring& path) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.out()))) &&
           SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, decoder.out())) &&
           SUCCEEDED(decoder->GetFrame(0, frame.out())) && SUCCEEDED(frame->GetSize(&width, &height)) && width > 0 &&
           height > 0;
  }

  // The frame scaled while it is decoded to w x h, as 32-bit pixels; null when it cannot be read. Only
  // the scaled pixels are ever held here.
  HBITMAP Decode(int w, int h) {
    if (int64_t(width) * height > kSourcePixels) return nullptr;
    Com<IWICBitmapScaler> scaler;
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateBitmapScaler(scaler.out())) ||
        FAILED(scaler->Initialize(frame.p, UINT(w), UINT(h), WICBitmapInterpolationModeFant)) ||
        FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(scaler.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
      return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap &&
        FAILED(converter->CopyPixels(nullptr, UINT(w) * 4, UINT(w) * UINT(h) * 4, static_cast<BYTE*>(bits)))) {
      DeleteObject(bitmap);
      bitmap = nullptr;
    }
    return bitmap;
  }
};

// The picture box `Imag`: the picture drawn stretched to the box, which the window sizes and centres.
// Its pixels are decoded at the box's size, again when the box grows past them.
class PictureBox : public common::ui::Window {
 public:
  ~PictureBox() override { Drop(); }
  void Load(const std::wstring& path) {
    Drop();
    PictureFrame f;
    if (f.Open(path)) {
      path_ = path;
      natural_ = {LONG(f.width), LONG(f.height)};
    }
  }
  void Drop() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    natural_ = decoded_ = {};
    path_.clear();
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
  }
  // The box is w x h now: pixels enough for it (never more than the picture has, nor the cap).
  void Fit(int w, int h) {
    PixelSize want = DecodeSize(natural_.cx, natural_.cy, w, h, kShownPixels);
    if (path_.empty() || want.width == 0 || (want.width <= decoded_.cx && want.height <= decoded_.cy)) return;
    PictureFrame f;
    HBITMAP b = f.Open(path_) ? f.Decode(want.width, want.height) : nullptr;
    if (!b) return;
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = b;
    decoded_ = {want.width, want.height};
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
  SIZE natural() const { return natural_; }
  SIZE decoded() const { return decoded_; }

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
      StretchBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, decoded_.cx, decoded_.cy, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    EndPaint(hwnd(), &ps);
  }

  std::wstring path_;
  HBITMAP bitmap_ = nullptr;
  SIZE natural_{}, decoded_{};
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
    box_.Fit(r.right - r.left, r.bottom - r.top);
  }
  void Show(bool on) override { ShowWindow(box_.hwnd(), on ? SW_SHOW : SW_HIDE); }
  SIZE Natural() const override { return box_.natural(); }
  SIZE Decoded() const override { return box_.decoded(); }
  void Detach() override { box_.Drop(); }

 private:
  PictureBox box_;
};

}  // namespace

// No images, sounds or videos are fetched (a page's remote ones would tell its author the file was
// opened), no scripts, applets, controls or behaviours run, nothing refreshes itself, and the control
// works offline.
DWORD PreviewDownloadControl() {
  return DLCTL_NO_SCRIPTS | DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_BEHAVIORS |
         DLCTL_NO_FRAMEDOWNLOAD | DLCTL_NO_CLIENTPULL | DLCTL_SILENT | DLCTL_FORCEOFFLINE;
}

std::unique_ptr<PreviewPane> MediaPlayerPane() { return std::make_unique<MediaPane>(); }
std::unique_ptr<PreviewPane> WebBrowserPane() { return std::make_unique<WebPane>(); }
std::unique_ptr<PreviewPane> TextPreviewPane() { return std::make_unique<TextPane>(); }
std::unique_ptr<PicturePane> PicturePreviewPane() { return std::make_unique<PictureViewer>(); }

PreviewPanes SystemPreviewPanes() {
  return {MediaPlayerPane(), WebBrowserPane(), TextPreviewPane(), PicturePreviewPane()};
}

}  // namespace sercavo
