#include "winui/web_control.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ole2.h>

#include <algorithm>

#include "generator/windows_text.h"
#include "winui/com_pointer.h"

namespace qv::winui {
namespace {

#ifndef DOCHOSTUIFLAG_DPI_AWARE
constexpr DWORD DOCHOSTUIFLAG_DPI_AWARE = 0x40000000;
#endif

std::string Utf8OfBstr(BSTR text) {
  return text == nullptr ? std::string() : Utf8Text(std::wstring_view(text, SysStringLen(text)));
}

// An event's argument, which the control may pass by reference.
const VARIANT& Dereferenced(const VARIANT& argument) {
  if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal != nullptr) {
    return *argument.pvarVal;
  }
  return argument;
}

std::string TextArgument(const VARIANT& argument) {
  const VARIANT& value = Dereferenced(argument);
  return value.vt == VT_BSTR ? Utf8OfBstr(value.bstrVal) : std::string();
}

long NumberArgument(const VARIANT& argument) {
  const VARIANT& value = Dereferenced(argument);
  return value.vt == VT_I4 ? value.lVal : 0;
}

}  // namespace

// What the control talks to: its place in the window (client site, in-place
// site and frame), the host's wishes for the document (no border, aware of
// the screen's scale) and the sink of its navigation events. Counted, so it
// lives as long as the control holds it; once detached it tells no one.
class WebControl::Site final : public IOleClientSite,
                               public IOleInPlaceSite,
                               public IOleInPlaceFrame,
                               public IDocHostUIHandler,
                               public IDispatch {
 public:
  Site(HWND window, WebControlListener& listener) : window_(window), listener_(&listener) {}

  void Detach() { listener_ = nullptr; }
  // The control itself, to tell its events from those of frames inside it.
  void SetBrowser(IUnknown* browser) { browser_ = browser; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IOleClientSite) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (id == IID_IOleWindow || id == IID_IOleInPlaceSite) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else if (id == IID_IOleInPlaceUIWindow || id == IID_IOleInPlaceFrame) {
      *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (id == IID_IDocHostUIHandler) {
      *object = static_cast<IDocHostUIHandler*>(this);
    } else if (id == IID_IDispatch || id == DIID_DWebBrowserEvents2) {
      *object = static_cast<IDispatch*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = --count_;
    if (count == 0) delete this;
    return count;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, for the in-place site and the frame alike
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document, RECT* position,
                                             RECT* clip, OLEINPLACEFRAMEINFO* info) override {
    *frame = this;
    AddRef();
    *document = nullptr;
    GetClientRect(window_, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(window_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT*) override { return S_OK; }

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, tools or status bar.
  HRESULT STDMETHODCALLTYPE GetBorder(RECT*) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(const BORDERWIDTHS*) override {
    return INPLACE_E_NOTOOLSPACE;
  }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(const BORDERWIDTHS*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, WORD) override { return S_FALSE; }

  // IDocHostUIHandler
  HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override {
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DPI_AWARE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                   IOleInPlaceFrame*, IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override {
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    *key = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** target) override {
    *target = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override {
    *external = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) override {
    *translated = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** filtered) override {
    *filtered = nullptr;
    return S_FALSE;
  }

  // IDispatch: the events of DWebBrowserEvents2.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    if (listener_ == nullptr || parameters == nullptr) return S_OK;
    // The arguments come last first.
    const VARIANT* arguments = parameters->rgvarg;
    const UINT count = parameters->cArgs;
    if (event == DISPID_BEFORENAVIGATE2 && count == 7 && IsControl(arguments[6])) {
      listener_->NavigationStarting(TextArgument(arguments[5]));
    } else if (event == DISPID_NAVIGATEERROR && count == 5 && IsControl(arguments[4])) {
      const VARIANT& cancel = arguments[0];
      if (listener_->NavigationFailed(TextArgument(arguments[3]), NumberArgument(arguments[1])) &&
          cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal != nullptr) {
        *cancel.pboolVal = VARIANT_TRUE;
      }
    } else if (event == DISPID_DOCUMENTCOMPLETE && count == 2 && IsControl(arguments[1])) {
      listener_->PageComplete(TextArgument(arguments[0]));
    }
    return S_OK;
  }

 private:
  ~Site() = default;

  // Whether the event's object is the control itself rather than a frame of
  // the page.
  bool IsControl(const VARIANT& argument) const {
    const VARIANT& value = Dereferenced(argument);
    if (value.vt != VT_DISPATCH || value.pdispVal == nullptr || browser_ == nullptr) return true;
    IUnknown* object = nullptr;
    if (FAILED(value.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&object)))) {
      return true;
    }
    const bool same = object == browser_;
    object->Release();
    return same;
  }

  ULONG count_ = 1;
  HWND window_;
  WebControlListener* listener_;
  IUnknown* browser_ = nullptr;  // not counted: the control outlives its events
};

struct WebControl::Parts {
  WebControlListener* listener = nullptr;
  Site* site = nullptr;  // one count held here
  ComPointer<IOleObject> object;
  ComPointer<IWebBrowser2> browser;
  ComPointer<IConnectionPoint> events;
  DWORD events_cookie = 0;
};

Result<std::unique_ptr<WebControl>> WebControl::Create(HWND parent, const RECT& bounds,
                                                       WebControlListener& listener) {
  std::unique_ptr<WebControl> control(new WebControl);
  const Status attached = control->Attach(parent, bounds, listener);
  if (!attached.ok()) return attached;
  return control;
}

Status WebControl::Attach(HWND parent, const RECT& bounds, WebControlListener& listener) {
  parts_ = std::make_unique<Parts>();
  Parts& p = *parts_;
  p.listener = &listener;
  HRESULT result = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(p.object.Receive()));
  if (FAILED(result)) {
    return Status::Error("the system has no web control (error " + std::to_string(result) + ")");
  }
  p.site = new Site(parent, listener);
  p.object->SetClientSite(p.site);
  p.browser = p.object.As<IWebBrowser2>();
  if (!p.browser) return Status::Error("the web control has no browser interface");
  ComPointer<IUnknown> identity = p.browser.As<IUnknown>();
  p.site->SetBrowser(identity.get());
  if (auto container = p.browser.As<IConnectionPointContainer>()) {
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, p.events.Receive()))) {
      if (FAILED(p.events->Advise(static_cast<IDispatch*>(p.site), &p.events_cookie))) {
        p.events.Reset();
      }
    }
  }
  RECT place = bounds;
  result = p.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, p.site, 0, parent, &place);
  if (FAILED(result)) {
    return Status::Error("the web control cannot live in the window (error " +
                         std::to_string(result) + ")");
  }
  p.browser->put_Silent(VARIANT_TRUE);  // no script error boxes over the preview
  SetBounds(bounds);
  return Status::Ok();
}

WebControl::~WebControl() {
  if (!parts_) return;
  Parts& p = *parts_;
  if (p.events) p.events->Unadvise(p.events_cookie);
  p.events.Reset();
  if (p.site != nullptr) p.site->Detach();
  if (p.object) {
    p.object->Close(OLECLOSE_NOSAVE);
    p.object->SetClientSite(nullptr);
  }
  p.browser.Reset();
  p.object.Reset();
  if (p.site != nullptr) p.site->Release();
}

void WebControl::Navigate(const std::string& path) {
  VARIANT address;
  VariantInit(&address);
  address.vt = VT_BSTR;
  address.bstrVal = SysAllocString(WideText(path).c_str());
  // Read afresh: the file has just been written again under the same name.
  VARIANT flags;
  VariantInit(&flags);
  flags.vt = VT_I4;
  flags.lVal = navNoHistory | navNoReadFromCache | navNoWriteToCache;
  const HRESULT result = parts_->browser->Navigate2(&address, &flags, nullptr, nullptr, nullptr);
  VariantClear(&address);
  if (FAILED(result)) parts_->listener->NavigationFailed(path, result);
}

void WebControl::SetBounds(const RECT& bounds) {
  if (auto in_place = parts_->object.As<IOleInPlaceObject>()) {
    in_place->SetObjectRects(&bounds, &bounds);
  }
}

void WebControl::SetVisible(bool visible) {
  parts_->browser->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE);
  if (auto window = parts_->object.As<IOleWindow>()) {
    HWND handle = nullptr;
    if (SUCCEEDED(window->GetWindow(&handle)) && handle != nullptr) {
      ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
    }
  }
}

std::optional<POINT> WebControl::ScrollPosition() const {
  ComPointer<IDispatch> document;
  if (FAILED(parts_->browser->get_Document(document.Receive())) || !document) return std::nullopt;
  // A page in standards mode scrolls its root element, an old one its body.
  POINT position = {0, 0};
  const auto take = [&position](IHTMLElement* element) {
    auto scrolled = ComPointer<IHTMLElement>::Adopt(element).As<IHTMLElement2>();
    long x = 0;
    long y = 0;
    if (scrolled && SUCCEEDED(scrolled->get_scrollLeft(&x)) &&
        SUCCEEDED(scrolled->get_scrollTop(&y))) {
      position.x = std::max(position.x, x);
      position.y = std::max(position.y, y);
    }
  };
  auto html = document.As<IHTMLDocument2>();
  if (!html) return std::nullopt;
  IHTMLElement* body = nullptr;
  if (SUCCEEDED(html->get_body(&body)) && body != nullptr) take(body);
  if (auto standard = document.As<IHTMLDocument3>()) {
    IHTMLElement* root = nullptr;
    if (SUCCEEDED(standard->get_documentElement(&root)) && root != nullptr) take(root);
  }
  return position;
}

void WebControl::ScrollTo(POINT position) {
  ComPointer<IDispatch> document;
  if (FAILED(parts_->browser->get_Document(document.Receive())) || !document) return;
  auto html = document.As<IHTMLDocument2>();
  ComPointer<IHTMLWindow2> window;
  if (html && SUCCEEDED(html->get_parentWindow(window.Receive())) && window) {
    window->scrollTo(position.x, position.y);
  }
}

bool WebControl::TranslateKey(MSG& message) {
  auto active = parts_->object.As<IOleInPlaceActiveObject>();
  return active && active->TranslateAccelerator(&message) == S_OK;
}

}  // namespace qv::winui
