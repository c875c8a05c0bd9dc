#include "search/extras/win/ole_container.h"

#include <mshtmdid.h>
#include <ocidl.h>

#include "common/win/ole_site.h"

namespace sercavo {

class OleContainer::Site final : public common::OleSite, public IDispatch {
 public:
  Site(HWND window, DWORD downloadControl)
      : OleSite(window, GetAncestor(window, GA_ROOT)), downloadControl_(downloadControl) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return OleSite::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return OleSite::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return OleSite::Release(); }

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
    return riid == IID_IDispatch ? static_cast<IDispatch*>(this) : OleSite::Find(riid);
  }

  DWORD downloadControl_;
};

bool OleContainer::Create(HWND parent, REFCLSID clsid, DWORD downloadControl) {
  Destroy();
  window_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  if (FAILED(
          CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object_)))) {
    object_ = nullptr;
    return false;
  }
  site_ = new Site(window_, downloadControl);
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

namespace {
DISPID IdOf(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  return d && SUCCEEDED(d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id)) ? id : DISPID_UNKNOWN;
}
}  // namespace

bool PutProperty(IDispatch* d, const wchar_t* name, VARIANT value) {
  DISPID id = IdOf(d, name);
  if (id == DISPID_UNKNOWN) return false;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p{&value, &named, 1, 1};
  return SUCCEEDED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr));
}

bool CallMethod(IDispatch* d, const wchar_t* name) {
  DISPID id = IdOf(d, name);
  if (id == DISPID_UNKNOWN) return false;
  DISPPARAMS p{nullptr, nullptr, 0, 0};
  return SUCCEEDED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr));
}

}  // namespace sercavo
