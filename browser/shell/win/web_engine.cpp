// The platform's web-browser control in a minimal OLE container: client site, in-place site and frame,
// the UI handler and the event sink of DWebBrowserEvents2, all on one object.
#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ole2.h>

#include "browser/shell/win/engine.h"
#include "common/text.h"
#include "common/win/ole_site.h"
#include "common/win/registry.h"
#include "common/win/system.h"

namespace corvane {
namespace {

template <typename T>
void ReleaseNull(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

std::wstring VariantText(const VARIANT* v) {
  if (!v) return L"";
  if (v->vt == (VT_VARIANT | VT_BYREF)) return VariantText(v->pvarVal);
  if (v->vt == VT_BSTR && v->bstrVal) return v->bstrVal;
  if (v->vt == (VT_BSTR | VT_BYREF) && v->pbstrVal && *v->pbstrVal) return *v->pbstrVal;
  return L"";
}

VARIANT_BOOL* BoolOut(const VARIANT& v) { return v.vt == (VT_BOOL | VT_BYREF) ? v.pboolVal : nullptr; }

class Site final : public common::OleSite, public IDocHostUIHandler, public IDispatch {
 public:
  Site(HWND parent, EngineEvents* sink) : OleSite(parent, parent), sink_(sink) {}
  ~Site() { ReleaseNull(active_); }
  void Detach() {
    sink_ = nullptr;
    ReleaseNull(active_);
  }
  // The control itself, to tell its own navigations from those of its frames (not held).
  void SetBrowser(IUnknown* browser) { browser_ = browser; }
  // The control's in-place active object, which every key of the page goes through first.
  bool TranslateKey(MSG& msg) { return active_ && active_->TranslateAccelerator(&msg) == S_OK; }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return OleSite::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return OleSite::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return OleSite::Release(); }

  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    if (active) active->AddRef();
    ReleaseNull(active_);
    if (sink_)
      active_ = active;
    else if (active)
      active->Release();
    return S_OK;
  }

  // IDocHostUIHandler: the page keeps the control's own menus and keys; no 3-D border, themed controls.
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  STDMETHODIMP HideUI() override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL on) override { return OleSite::EnableModeless(on); }
  STDMETHODIMP UpdateUI() override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  using OleSite::TranslateAccelerator;
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    *key = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExternal(IDispatch** d) override {
    *d = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
    *out = nullptr;
    return S_FALSE;
  }

  // IDispatch: the control's events.
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
    if (!sink_ || !p) return S_OK;  // the window is gone: late events are dropped
    AddRef();                       // the handler may close the window that owns this site
    Fire(id, p->rgvarg, p->cArgs);
    Release();
    return S_OK;
  }

 private:
  void Fire(DISPID id, VARIANT* a, UINT n) {
    EngineEvents* s = sink_;
    switch (id) {
      case DISPID_STATUSTEXTCHANGE:
        if (n >= 1) s->StatusTextChange(VariantText(&a[0]));
        break;
      case DISPID_PROGRESSCHANGE:
        if (n >= 2) s->ProgressChange(a[1].lVal, a[0].lVal);
        break;
      case DISPID_COMMANDSTATECHANGE:
        if (n >= 2) s->CommandStateChange(a[1].lVal, a[0].boolVal != VARIANT_FALSE);
        break;
      case DISPID_DOWNLOADBEGIN: s->DownloadBegin(); break;
      case DISPID_DOWNLOADCOMPLETE: s->DownloadComplete(); break;
      case DISPID_TITLECHANGE:
        if (n >= 1) s->TitleChange(VariantText(&a[0]));
        break;
      case DISPID_BEFORENAVIGATE2:
        if (n >= 7 && s->BeforeNavigate2(VariantText(&a[5]), IsBrowser(a[6])))
          if (VARIANT_BOOL* c = BoolOut(a[0])) *c = VARIANT_TRUE;
        break;
      case DISPID_NEWWINDOW2:
        if (n >= 2) NewWindow(s, a[1], BoolOut(a[0]));
        break;
      case DISPID_NAVIGATECOMPLETE2:
        if (n >= 2) s->NavigateComplete2(VariantText(&a[0]));
        break;
      case DISPID_WINDOWCLOSING:
        // The frame closes the tab itself; the control must not close anything on its own.
        if (n >= 2)
          if (VARIANT_BOOL* c = BoolOut(a[0])) *c = VARIANT_TRUE;
        s->WindowClosing();
        break;
      case DISPID_NAVIGATEERROR:
        if (n >= 5 && s->NavigateError(VariantText(&a[3])))
          if (VARIANT_BOOL* c = BoolOut(a[0])) *c = VARIANT_TRUE;
        break;
    }
  }
  // True when the event's object is the control itself, not one of the page's frames.
  bool IsBrowser(const VARIANT& v) const {
    IDispatch* d = v.vt == VT_DISPATCH                               ? v.pdispVal
                   : v.vt == (VT_DISPATCH | VT_BYREF) && v.ppdispVal ? *v.ppdispVal
                                                                     : nullptr;
    if (!d || !browser_) return true;  // no object to tell by: the page itself
    IUnknown* u = nullptr;
    if (FAILED(d->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&u)))) return true;
    bool same = u == browser_;
    u->Release();
    return same;
  }
  static void NewWindow(EngineEvents* s, const VARIANT& target, VARIANT_BOOL* cancel) {
    PageEngine* engine = s->NewWindow2();
    IDispatch* app = engine ? engine->Application() : nullptr;
    if (app && target.vt == (VT_DISPATCH | VT_BYREF) && target.ppdispVal) {
      *target.ppdispVal = app;
    } else {
      if (app) app->Release();
      if (cancel) *cancel = VARIANT_TRUE;
    }
  }

  void* Find(REFIID riid) override {
    if (riid == IID_IDocHostUIHandler) return static_cast<IDocHostUIHandler*>(this);
    if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) return static_cast<IDispatch*>(this);
    return OleSite::Find(riid);
  }

  EngineEvents* sink_;
  IUnknown* browser_ = nullptr;
  IOleInPlaceActiveObject* active_ = nullptr;
};

class WebEngine final : public PageEngine {
 public:
  ~WebEngine() override { Close(); }

  bool Create(HWND parent, EngineEvents* sink) override {
    parent_ = parent;
    site_ = new Site(parent, sink);
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&ole_))))
      return false;
    ole_->SetClientSite(static_cast<IOleClientSite*>(site_));
    OleSetContainedObject(ole_, TRUE);
    RECT rc;
    GetClientRect(parent, &rc);
    ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, parent, &rc);
    ole_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&web_));
    IUnknown* identity = nullptr;
    if (web_ && SUCCEEDED(web_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
      site_->SetBrowser(identity);
      identity->Release();  // the control outlives the site's use of it: Close detaches the site first
    }
    IConnectionPointContainer* cpc = nullptr;
    if (web_ && SUCCEEDED(web_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
      if (SUCCEEDED(cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, &cp_)))
        cp_->Advise(static_cast<IDispatch*>(site_), &cookie_);
      cpc->Release();
    }
    return web_ != nullptr;
  }

  void Close() override {
    if (site_) {
      site_->Detach();
      site_->SetBrowser(nullptr);
    }
    if (cp_) {
      if (cookie_) cp_->Unadvise(cookie_);
      ReleaseNull(cp_);
    }
    if (web_) web_->Stop();
    ReleaseNull(web_);
    if (ole_) {
      ole_->Close(OLECLOSE_NOSAVE);
      ole_->SetClientSite(nullptr);
      ReleaseNull(ole_);
    }
    ReleaseNull(site_);
  }

  void Navigate(const std::wstring& url) override {
    if (!web_) return;
    BSTR b = SysAllocString(url.c_str());
    VARIANT empty;
    VariantInit(&empty);
    web_->Navigate(b, &empty, &empty, &empty, &empty);
    SysFreeString(b);
  }

  std::wstring LocationURL() override {
    BSTR b = nullptr;
    if (!web_ || FAILED(web_->get_LocationURL(&b)) || !b) return L"";
    std::wstring s = b;
    SysFreeString(b);
    return s;
  }

  std::wstring DocumentTitle() override {
    std::wstring title;
    if (IHTMLDocument2* doc = Document()) {
      BSTR b = nullptr;
      if (SUCCEEDED(doc->get_title(&b)) && b) title = b;
      SysFreeString(b);
      doc->Release();
    }
    return title;
  }

  void Move(int x, int y, int w, int h) override {
    IOleInPlaceObject* ip = nullptr;
    if (!ole_ || FAILED(ole_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ip)))) return;
    RECT rc{x, y, x + w, y + h};
    ip->SetObjectRects(&rc, &rc);
    ip->Release();
  }

  void SetOffline(bool on) override {
    if (web_) web_->put_Offline(on ? VARIANT_TRUE : VARIANT_FALSE);
  }
  void SetSilent(bool on) override {
    if (web_) web_->put_Silent(on ? VARIANT_TRUE : VARIANT_FALSE);
  }
  void ScrollBy(int dy) override {
    if (IHTMLWindow2* w = Window()) {
      w->scrollBy(0, dy);
      w->Release();
    }
  }
  void FocusDocument() override {
    if (IHTMLWindow2* w = Window()) {
      w->focus();
      w->Release();
    }
  }
  void GoBack() override {
    if (web_) web_->GoBack();
  }
  void GoForward() override {
    if (web_) web_->GoForward();
  }
  void Stop() override {
    if (web_) web_->Stop();
  }
  void Refresh() override {
    if (web_) web_->Refresh();
  }
  void RegisterAsBrowser() override {
    if (web_) web_->put_RegisterAsBrowser(VARIANT_TRUE);
  }
  IDispatch* Application() override {
    IDispatch* d = nullptr;
    if (web_) web_->get_Application(&d);
    return d;
  }
  bool TranslateAccelerator(MSG& msg) override { return site_ && site_->TranslateKey(msg); }
  void ExecWB(long command, long option) override {
    if (web_) web_->ExecWB(OLECMDID(command), OLECMDEXECOPT(option), nullptr, nullptr);
  }
  std::wstring SelectedText() override {
    std::wstring text;
    IHTMLDocument2* doc = Document();
    IHTMLSelectionObject* sel = nullptr;
    IDispatch* range = nullptr;
    IHTMLTxtRange* txt = nullptr;
    if (doc && SUCCEEDED(doc->get_selection(&sel)) && sel && SUCCEEDED(sel->createRange(&range)) && range &&
        SUCCEEDED(range->QueryInterface(IID_IHTMLTxtRange, reinterpret_cast<void**>(&txt)))) {
      BSTR b = nullptr;
      if (SUCCEEDED(txt->get_text(&b)) && b) text = b;
      SysFreeString(b);
    }
    if (txt) txt->Release();
    if (range) range->Release();
    if (sel) sel->Release();
    if (doc) doc->Release();
    return text;
  }

 private:
  IHTMLDocument2* Document() {
    IDispatch* d = nullptr;
    IHTMLDocument2* doc = nullptr;
    if (web_ && SUCCEEDED(web_->get_Document(&d)) && d) {
      d->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc));
      d->Release();
    }
    return doc;
  }
  IHTMLWindow2* Window() {
    IHTMLWindow2* w = nullptr;
    if (IHTMLDocument2* doc = Document()) {
      doc->get_parentWindow(&w);
      doc->Release();
    }
    return w;
  }

  HWND parent_ = nullptr;
  Site* site_ = nullptr;
  IOleObject* ole_ = nullptr;
  IWebBrowser2* web_ = nullptr;
  IConnectionPoint* cp_ = nullptr;
  DWORD cookie_ = 0;
};

}  // namespace

std::unique_ptr<PageEngine> CreateWebEngine() { return std::make_unique<WebEngine>(); }

void RegisterBrowserEmulation() {
  // 11001: the newest standards mode, whatever the page's doctype says.
  common::WriteRegDword(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION",
                        common::FileNameOf(common::ExePath()), 11001);
}

}  // namespace corvane
