#include "search/extras/win/ole_container.h"

#include <mshtmdid.h>
#include <ocidl.h>
#include <servprov.h>
#include <urlmon.h>

#include <utility>

#include "common/win/ole_site.h"

namespace sercavo {

namespace {

// URL actions of active content and of what a page may make the system do: scripts, controls, applets,
// behaviours, downloads of code, form posts, refreshes, the shell's verbs and file downloads.
bool Forbidden(DWORD action) {
  const std::pair<DWORD, DWORD> ranges[] = {
      {URLACTION_DOWNLOAD_MIN, URLACTION_DOWNLOAD_MAX},   {URLACTION_ACTIVEX_MIN, URLACTION_ACTIVEX_MAX},
      {URLACTION_SCRIPT_MIN, URLACTION_SCRIPT_MAX},       {URLACTION_HTML_MIN, URLACTION_HTML_MAX},
      {URLACTION_SHELL_MIN, URLACTION_SHELL_MAX},         {URLACTION_JAVA_MIN, URLACTION_JAVA_MAX},
      {URLACTION_BEHAVIOR_MIN, URLACTION_FEATURE_MIN - 1}};
  for (const auto& [low, high] : ranges)
    if (action >= low && action <= high) return true;
  return false;
}

}  // namespace

class OleContainer::Site final : public common::OleSite,
                                 public IDispatch,
                                 public IServiceProvider,
                                 public IInternetSecurityManager {
 public:
  Site(HWND window, DWORD downloadControl, bool lockedDown)
      : OleSite(window, GetAncestor(window, GA_ROOT)), downloadControl_(downloadControl), lockedDown_(lockedDown) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return OleSite::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return OleSite::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return OleSite::Release(); }

  // The extended in-place site, for controls that take no other (the media player on some systems): the
  // site's own in-place answers under another interface.
  class SiteEx final : public IOleInPlaceSiteEx {
   public:
    explicit SiteEx(Site& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return site_.QueryInterface(riid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP GetWindow(HWND* h) override { return base().GetWindow(h); }
    STDMETHODIMP ContextSensitiveHelp(BOOL on) override { return base().ContextSensitiveHelp(on); }
    STDMETHODIMP CanInPlaceActivate() override { return base().CanInPlaceActivate(); }
    STDMETHODIMP OnInPlaceActivate() override { return base().OnInPlaceActivate(); }
    STDMETHODIMP OnUIActivate() override { return base().OnUIActivate(); }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
      return base().GetWindowContext(frame, doc, pos, clip, info);
    }
    STDMETHODIMP Scroll(SIZE s) override { return base().Scroll(s); }
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override { return base().OnUIDeactivate(undoable); }
    STDMETHODIMP OnInPlaceDeactivate() override { return base().OnInPlaceDeactivate(); }
    STDMETHODIMP DiscardUndoState() override { return base().DiscardUndoState(); }
    STDMETHODIMP DeactivateAndUndo() override { return base().DeactivateAndUndo(); }
    STDMETHODIMP OnPosRectChange(LPCRECT r) override { return base().OnPosRectChange(r); }
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override {
      if (noRedraw) *noRedraw = FALSE;
      return base().OnInPlaceActivate();
    }
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return base().OnInPlaceDeactivate(); }
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

   private:
    IOleInPlaceSite& base() { return site_; }
    Site& site_;
  };

  // IServiceProvider: the control asks its site for a security manager before its own.
  STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** out) override {
    *out = nullptr;
    if (!lockedDown_ || service != SID_SInternetSecurityManager) return E_NOINTERFACE;
    return QueryInterface(riid, out);
  }

  // IInternetSecurityManager: every action of active content is disallowed; the rest is the system's.
  STDMETHODIMP SetSecuritySite(IInternetSecurityMgrSite*) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetSecuritySite(IInternetSecurityMgrSite**) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP MapUrlToZone(LPCWSTR, DWORD*, DWORD) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP ProcessUrlAction(LPCWSTR, DWORD action, BYTE* policy, DWORD policyBytes, BYTE*, DWORD, DWORD,
                                DWORD) override {
    if (!Forbidden(action)) return INET_E_DEFAULT_ACTION;
    if (policy && policyBytes >= sizeof(DWORD)) *reinterpret_cast<DWORD*>(policy) = URLPOLICY_DISALLOW;
    return S_FALSE;
  }
  STDMETHODIMP QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD, DWORD) override {
    return INET_E_DEFAULT_ACTION;
  }
  STDMETHODIMP SetZoneMapping(DWORD, LPCWSTR, DWORD) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetZoneMappings(DWORD, IEnumString**, DWORD) override { return INET_E_DEFAULT_ACTION; }

  // IDispatch: the ambient properties the control asks its site for.
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    if (id != DISPID_AMBIENT_DLCONTROL || !downloadControl_ || !result) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = LONG(downloadControl_);
    return S_OK;
  }

 private:
  void* Find(REFIID riid) override {
    if (riid == IID_IDispatch) return static_cast<IDispatch*>(this);
    if (riid == IID_IServiceProvider) return static_cast<IServiceProvider*>(this);
    if (riid == IID_IOleInPlaceSiteEx) return static_cast<IOleInPlaceSiteEx*>(&siteEx_);
    if (riid == IID_IInternetSecurityManager && lockedDown_) return static_cast<IInternetSecurityManager*>(this);
    return OleSite::Find(riid);
  }

  DWORD downloadControl_;
  bool lockedDown_;
  SiteEx siteEx_{*this};
};

bool OleContainer::Create(HWND parent, REFCLSID clsid, DWORD downloadControl, bool lockedDown) {
  Destroy();
  window_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  if (FAILED(
          CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object_)))) {
    object_ = nullptr;
    return false;
  }
  site_ = new Site(window_, downloadControl, lockedDown);
  // The site goes in before anything loads, so that the download settings apply from the first page.
  object_->SetClientSite(site_);
  if (IPersistStreamInit* init = Get<IPersistStreamInit>(IID_IPersistStreamInit)) {
    init->InitNew();
    init->Release();
  }
  RECT r;
  GetClientRect(window_, &r);
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, window_, &r))) {
    Destroy();
    return false;
  }
  return true;
}

void OleContainer::Destroy() {
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) {
    site_->Release();
    site_ = nullptr;
  }
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

void OleContainer::Move(const RECT& r) {
  if (!window_) return;
  MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  if (IOleInPlaceObject* place = Get<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    RECT inner{0, 0, r.right - r.left, r.bottom - r.top};
    place->SetObjectRects(&inner, &inner);
    place->Release();
  }
}

void OleContainer::Show(bool on) {
  if (window_) ShowWindow(window_, on ? SW_SHOW : SW_HIDE);
}

}  // namespace sercavo
