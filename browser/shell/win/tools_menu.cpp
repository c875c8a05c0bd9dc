#include "browser/shell/win/tools_menu.h"

#include <exdisp.h>
#include <mshtml.h>

#include "browser/shell/win/frm_main.h"
#include "browser/tools/tool_text.h"
#include "browser/tools/win/default_browser.h"
#include "browser/tools/win/formclear.h"
#include "browser/tools/win/formping.h"
#include "browser/tools/win/formsetup.h"
#include "browser/tools/win/speed_meter_view.h"

namespace corvane {
namespace {

// Releases a COM pointer when it goes.
template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  void** out() { return reinterpret_cast<void**>(&p); }
};

// The document element's HTML of the page the control shows, through the control's automation object;
// empty when there is no document yet.
std::wstring DocumentHtml(PageEngine& engine) {
  Com<IDispatch> app{engine.Application()};
  Com<IWebBrowser2> web;
  Com<IDispatch> doc;
  Com<IHTMLDocument3> doc3;
  Com<IHTMLElement> root;
  BSTR html = nullptr;
  if (!app.p || FAILED(app.p->QueryInterface(IID_IWebBrowser2, web.out())) || FAILED(web.p->get_Document(&doc.p)) ||
      !doc.p || FAILED(doc.p->QueryInterface(IID_IHTMLDocument3, doc3.out())) ||
      FAILED(doc3.p->get_documentElement(&root.p)) || !root.p || FAILED(root.p->get_innerHTML(&html)) || !html)
    return L"";
  std::wstring text(html, SysStringLen(html));
  SysFreeString(html);
  return text;
}

// A new tool window over the frame with the browser's address and the page's title.
void OpenTool(FrmMain& frame, const std::wstring& caption) {
  Formweb* page = frame.ActivePage();
  std::wstring title = page ? page->Web().DocumentTitle() : L"";
  // The page current at each opening decides, not the one current when the window came.
  OpenFormping(frame.hwnd(), caption, frame.TextUrl(), title, [&frame] {
    Formweb* current = frame.ActivePage();
    return current ? DocumentHtml(current->Web()) : std::wstring();
  });
}

}  // namespace

void StartSpeedMeter(FrmMain& frame) { SpeedMeterView::Start(frame.picDown(), frame.picUp()); }

void ShowPageSource(FrmMain& frame, const std::wstring&) { OpenTool(frame, kSourceCaption); }
void ShowPing(FrmMain& frame) { OpenTool(frame, kPingCaption); }
void ShowAddressConfiguration(FrmMain& frame) { OpenTool(frame, kIpconfigCaption); }

void ShowTraceCleaner(FrmMain& frame) {
  // The closed-page list the frame holds is read again: the cleaner may have emptied it.
  ShowFormclear(frame.hwnd(), [&frame] { frame.ReloadClosedPages(); });
}

void ShowOptions(FrmMain& frame) {
  ShowFormsetup(frame.hwnd(), {[&frame] { return frame.TextUrl(); },
                               [&frame](int value) { frame.SetStartwindows(value); },
                               [&frame] {
                                 // The start site a first run writes.
                                 auto start = frame.hosts().Address({kStartSite, L"/"}, frame.appFolder());
                                 return start ? *start : std::wstring(kBlankPage);
                               }});
}

void setnavigation(FrmMain& frame) { setnavigation(frame.hwnd()); }
void cancelnavigation(FrmMain& frame) { cancelnavigation(frame.hwnd()); }

}  // namespace corvane
