// The in-place site every hosted control needs: client site, in-place site and a frame that offers no
// tool space, menus or keys of its own. A host adds its own interfaces (events, ambient properties, the
// document host) by extending QueryInterface.
#pragma once
#include <ole2.h>
#include <windows.h>

namespace common {

class OleSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  // window: where the control is placed; frame: the top-level window it reports as its frame.
  OleSite(HWND window, HWND frame) : window_(window), frame_(frame) {}
  virtual ~OleSite() = default;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    *out = Find(riid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (both the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* h) override {
    *h = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    GetClientRect(window_, pos);
    GetClientRect(window_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = frame_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 protected:
  // The interface of this site for riid (not yet counted), or null; hosts extend it with their own.
  virtual void* Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) return static_cast<IOleClientSite*>(this);
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) return static_cast<IOleInPlaceSite*>(this);
    if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
  }

 private:
  ULONG refs_ = 1;
  HWND window_;
  HWND frame_;
};

}  // namespace common
