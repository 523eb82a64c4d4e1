#include "framework/controls/HtmlTipHost.h"

#include "classlib/ModalLoop.h"
#include "framework/controls/TipWidthSearch.h"

#include <cstdlib>
#include <utility>

namespace {

// The web-browser control.
const CLSID kHtmlTipWebBrowserClsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

// A BSTR made from an ANSI text, freed with its scope.
class HtmlTipBstr
{
public:
    explicit HtmlTipBstr(const CString& text)
    {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), nullptr, 0);
        m_bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (m_bstr && length > 0)
            ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), m_bstr, length);
    }
    ~HtmlTipBstr() { ::SysFreeString(m_bstr); }
    HtmlTipBstr(const HtmlTipBstr&) = delete;
    HtmlTipBstr& operator=(const HtmlTipBstr&) = delete;

    BSTR Get() const { return m_bstr; }

private:
    BSTR m_bstr = nullptr;
};

// Asks pUnknown for Interface; null when it has none.
template <class Interface> RefPtr<Interface> HtmlTipQuery(IUnknown* pUnknown)
{
    Interface* pInterface = nullptr;
    if (!pUnknown || FAILED(pUnknown->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&pInterface))))
        return nullptr;
    return RefPtr<Interface>::Adopt(pInterface);
}

// Whether this thread has entered a single-threaded apartment, the only kind a browser control can live in. Asked by
// entering one and leaving it again at once: the answer tells, and the thread's state is as it was. (A thread that
// never initialised COM may still create objects in the process's implicit multi-threaded apartment: not a home
// for a window's control.)
bool HtmlTipThreadHasOle()
{
    const HRESULT entered = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(entered))
        ::CoUninitialize();
    return entered == S_FALSE;
}

}  // namespace

// ---- The document text -------------------------------------------------------------------

CString OsmHtmlTipAboutText(LPCSTR lpszFaceName, int nFontSize, COLORREF clrBackground)
{
    CString color;
    color.Format("#%02x%02x%02x", GetRValue(clrBackground), GetGValue(clrBackground), GetBValue(clrBackground));
    CString text;
    text.Format("about:<head><style> body {font-family:%s; font-size:%i;}table {font-family:%s; font-size:%i;}"
                "</style></head><body topmargin=0 leftmargin=0 bottommargin=0 rightmargin=0 bgColor=%s></body>",
                lpszFaceName, nFontSize, lpszFaceName, nFontSize, static_cast<LPCSTR>(color));
    return text;
}

CString OsmHtmlTipAboutText(HFONT hFont, COLORREF clrBackground)
{
    LOGFONTA lf{};
    // A height of 0 means "the default size" to GDI, but font-size:0 would hide the text: keep 11 then.
    if (hFont && ::GetObjectA(hFont, sizeof(lf), &lf) == sizeof(lf) && lf.lfFaceName[0] && lf.lfHeight != 0)
        return OsmHtmlTipAboutText(lf.lfFaceName, std::abs(static_cast<int>(lf.lfHeight)), clrBackground);
    return OsmHtmlTipAboutText("Arial", 11, clrBackground);
}

// ---- The host window ----------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(COSMHtmlTipHost, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(COSMHtmlTipHost, CWnd)
    INTERFACE_PART(IOleClientSite, m_xClientSite)
    INTERFACE_PART(IDocHostUIHandler, m_xDocHostUIHandler)
    INTERFACE_PART(IOleInPlaceSite, m_xInPlaceSite)
    INTERFACE_PART(IOleWindow, m_xInPlaceSite)
    INTERFACE_PART(IOleInPlaceFrame, m_xInPlaceFrame)
    INTERFACE_PART(IOleInPlaceUIWindow, m_xInPlaceFrame)
END_INTERFACE_MAP()

COSMHtmlTipHost::COSMHtmlTipHost() = default;

COSMHtmlTipHost::~COSMHtmlTipHost()
{
    // The base destroys a window still there, but OnDestroy no longer reaches this class by then.
    ReleaseControl();
}

RefPtr<COSMHtmlTipHost> COSMHtmlTipHost::Open(CWnd* pParent)
{
    RefPtr<COSMHtmlTipHost> host = RefPtr<COSMHtmlTipHost>::Adopt(new COSMHtmlTipHost);
    if (!host->CreateHost(pParent))
        return nullptr;
    return host;
}

BOOL COSMHtmlTipHost::CreateHost(CWnd* pParent)
{
    if (!pParent || !pParent->GetSafeHwnd() || m_hWnd)
        return FALSE;
    // The control first: without COM on this thread (the host never starts it) or without the control there is
    // nothing to show, and no window is made for nothing.
    if (!HtmlTipThreadHasOle())
        return FALSE;
    IOleObject* pOleObject = nullptr;
    if (FAILED(::CoCreateInstance(kHtmlTipWebBrowserClsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IOleObject),
                                  reinterpret_cast<void**>(&pOleObject))))
        return FALSE;
    RefPtr<IOleObject> oleObject = RefPtr<IOleObject>::Adopt(pOleObject);
    RefPtr<IWebBrowser2> browser = HtmlTipQuery<IWebBrowser2>(oleObject.Get());
    if (!browser)
        return FALSE;

    const CRect rect(0, 0, 200, 200);
    if (!Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, rect, pParent, kChildId))
        return FALSE;
    m_oleObject = std::move(oleObject);
    m_browser = std::move(browser);
    m_navigated = false;

    m_oleObject->SetClientSite(&m_xClientSite);
    // In place inside the host: the control makes its window as the host's child and follows the host's size.
    m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_xClientSite, 0, m_hWnd, &rect);
    m_inPlaceObject = HtmlTipQuery<IOleInPlaceObject>(m_oleObject.Get());
    return TRUE;
}

void COSMHtmlTipHost::ReleaseControl()
{
    // Taken out of the members first: what the control does while it lets go cannot reach a half-released host.
    RefPtr<IOleInPlaceObject> inPlaceObject = std::move(m_inPlaceObject);
    RefPtr<IOleObject> oleObject = std::move(m_oleObject);
    RefPtr<IWebBrowser2> browser = std::move(m_browser);
    if (inPlaceObject)
        inPlaceObject->InPlaceDeactivate();
    if (oleObject)
    {
        oleObject->Close(OLECLOSE_NOSAVE);
        oleObject->SetClientSite(nullptr);
    }
}

void COSMHtmlTipHost::Close()
{
    // Held while the window goes: the control's release of its site may give up the last reference.
    RefPtr<COSMHtmlTipHost> keep = RefPtr<COSMHtmlTipHost>::Retain(this);
    ReleaseControl();
    if (m_hWnd)
        DestroyWindow();
}

BOOL COSMHtmlTipHost::IsOpen() const
{
    return m_hWnd && ::IsWindow(m_hWnd) && m_browser;
}

READYSTATE COSMHtmlTipHost::GetReadyState() const
{
    READYSTATE state = READYSTATE_UNINITIALIZED;
    if (!m_browser || FAILED(m_browser->get_ReadyState(&state)))
        return READYSTATE_UNINITIALIZED;
    return state;
}

void COSMHtmlTipHost::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_inPlaceObject)
    {
        const CRect rect(0, 0, cx, cy);
        m_inPlaceObject->SetObjectRects(&rect, &rect);
    }
}

void COSMHtmlTipHost::OnDestroy()
{
    // Destroyed with its tip window: the control goes now, while its own window still exists.
    ReleaseControl();
    CWnd::OnDestroy();
}

// ---- Measuring ----------------------------------------------------------------------------------------------------

BOOL COSMHtmlTipHost::LoadDocument(const CString& aboutUrl)
{
    if (m_navigated)
        return GetReadyState() == READYSTATE_COMPLETE;

    m_navigated = true;
    const DWORD navigatedAt = ::GetTickCount();
    HtmlTipBstr url(aboutUrl);
    VARIANT empty;
    ::VariantInit(&empty);
    if (FAILED(m_browser->Navigate(url.Get(), &empty, &empty, &empty, &empty)))
        return FALSE;

    // The thread's messages go on while the document loads (the control needs them), for a bounded time: without an
    // HTML engine it never completes.
    const DWORD spent = ::GetTickCount() - navigatedAt;
    CModalLoop loop;
    loop.EndAfter(spent < kLoadTimeoutMs ? kLoadTimeoutMs - spent : 0);
    m_waiting = true;
    loop.Run([this] { return !IsOpen() || GetReadyState() == READYSTATE_COMPLETE; }, nullptr);
    m_waiting = false;
    return IsOpen() && GetReadyState() == READYSTATE_COMPLETE;
}

RefPtr<IHTMLElement> COSMHtmlTipHost::GetBody() const
{
    if (!m_browser)
        return nullptr;
    IDispatch* pDispatch = nullptr;
    if (FAILED(m_browser->get_Document(&pDispatch)) || !pDispatch)
        return nullptr;
    RefPtr<IDispatch> document = RefPtr<IDispatch>::Adopt(pDispatch);
    RefPtr<IHTMLDocument2> htmlDocument = HtmlTipQuery<IHTMLDocument2>(document.Get());
    if (!htmlDocument)
        return nullptr;
    IHTMLElement* pBody = nullptr;
    if (FAILED(htmlDocument->get_body(&pBody)) || !pBody)
        return nullptr;
    return RefPtr<IHTMLElement>::Adopt(pBody);
}

CSize COSMHtmlTipHost::LayOutAt(IHTMLTextContainer* pContainer, int cx, int cy)
{
    if (!IsOpen())
        return CSize(0, 0);
    SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    long scrollWidth = 0;
    long scrollHeight = 0;
    pContainer->get_scrollWidth(&scrollWidth);
    pContainer->get_scrollHeight(&scrollHeight);
    return CSize(scrollWidth, scrollHeight);
}

CSize COSMHtmlTipHost::MeasureTip(const COSMHtmlTipRequest& request)
{
    // Asked again from a message the document wait dispatched: the first measurement is not done.
    if (m_waiting || !IsOpen())
        return CSize(0, 0);
    // The wait below may see the tip window deleted, and this host's last reference with it.
    RefPtr<COSMHtmlTipHost> keep = RefPtr<COSMHtmlTipHost>::Retain(this);
    if (!LoadDocument(request.aboutUrl) || request.html.IsEmpty())
        return CSize(0, 0);

    RefPtr<IHTMLElement> body = GetBody();
    if (!body)
        return CSize(0, 0);
    HtmlTipBstr html(request.html);
    if (FAILED(body->put_innerHTML(html.Get())))
        return CSize(0, 0);
    RefPtr<IHTMLTextContainer> container = HtmlTipQuery<IHTMLTextContainer>(body.Get());
    if (!container)
        return CSize(0, 0);

    // The natural height: the content laid out wide.
    const int naturalHeight = LayOutAt(container.Get(), 650, 200).cy;
    int lastHeight = naturalHeight;
    const OsmTipLayoutAtWidth layout = [&](int width) {
        const CSize laidOut = LayOutAt(container.Get(), width, lastHeight);
        lastHeight = laidOut.cy;
        return laidOut;
    };
    const int width = OsmSearchHtmlTipWidth(request.maxWidth, ::GetSystemMetrics(SM_CXSCREEN), naturalHeight, layout);
    if (!IsOpen() || width <= 0 || naturalHeight <= 0)
        return CSize(0, 0);

    const CRect& margins = request.margins;
    SetWindowPos(nullptr, margins.left + 3, margins.top + 3, width, naturalHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    return CSize(width + margins.left + margins.right + 6, naturalHeight + margins.top + margins.bottom + 6);
}

// ---- The site's COM answers ---------------------------------------------------------------------------------------
// A tip is a picture of a document: nothing is saved, shown elsewhere, navigated from or offered a menu.

HRESULT COSMHtmlTipHost::XClientSite::SaveObject()
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XClientSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XClientSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XClientSite::ShowObject()
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XClientSite::OnShowWindow(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;  // shown: that is, none
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_THEME;
    pInfo->dwDoubleClick = 0;
    return S_OK;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                                   IOleInPlaceFrame*, IOleInPlaceUIWindow*)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::HideUI()
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::UpdateUI()
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey)
        *pchKey = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    if (ppDropTarget)
        *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch)
        *ppDispatch = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    if (ppchURLOut)
        *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet)
        *ppDORet = nullptr;
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = static_cast<COSMHtmlTipHost*>(m_pOwner)->GetHostWindow();
    return *phwnd ? S_OK : E_FAIL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::CanInPlaceActivate()
{
    return static_cast<COSMHtmlTipHost*>(m_pOwner)->GetHostWindow() ? S_OK : S_FALSE;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::OnInPlaceActivate()
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::OnUIActivate()
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                        LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                        LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
        return E_POINTER;
    COSMHtmlTipHost* pHost = static_cast<COSMHtmlTipHost*>(m_pOwner);
    pHost->ExternalAddRef();
    *ppFrame = &pHost->m_xInPlaceFrame;
    *ppDoc = nullptr;
    CRect client(0, 0, 0, 0);
    if (pHost->GetHostWindow())
        ::GetClientRect(pHost->GetHostWindow(), &client);
    *lprcPosRect = client;
    *lprcClipRect = client;
    if (lpFrameInfo)
    {
        // The caller has set cb; the rest is ours to say.
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = pHost->GetHostWindow();
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::Scroll(SIZE)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::OnInPlaceDeactivate()
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::DiscardUndoState()
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    // The object asks for a place of its own: it gets the host's whole client area, which the host decides.
    COSMHtmlTipHost* pHost = static_cast<COSMHtmlTipHost*>(m_pOwner);
    if (!lprcPosRect || !pHost->m_inPlaceObject || !pHost->GetHostWindow())
        return S_OK;
    CRect client;
    ::GetClientRect(pHost->GetHostWindow(), &client);
    pHost->m_inPlaceObject->SetObjectRects(&client, &client);
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = static_cast<COSMHtmlTipHost*>(m_pOwner)->GetHostWindow();
    return *phwnd ? S_OK : E_FAIL;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::RemoveMenus(HMENU)
{
    return E_NOTIMPL;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT COSMHtmlTipHost::XInPlaceFrame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}
