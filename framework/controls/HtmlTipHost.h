// COSMHtmlTipHost: the web-browser control inside an HTML tooltip, and the measuring of a tip's HTML in it.
//
// The host is a child window of the tip (id 59648, at 0, 0, 200 x 200 until the first measurement places it) that
// holds the web-browser control in place. The host object is the control's site: its interface map answers
// IOleClientSite, IDocHostUIHandler (no context menu, no 3-D border, no scroll bars, themed, dialog-like) and
// IOleInPlaceSite / IOleInPlaceFrame as far as in-place activation inside the child needs. Sizing the host resizes
// the control with it.
//
// A tip window keeps one host from its first measurement on:
//
//   if (!m_htmlHost || !m_htmlHost->IsOpen())
//       m_htmlHost = COSMHtmlTipHost::Open(this);           // null without COM or without the control
//   if (!m_htmlHost)
//       return CSize(0, 0);
//   COSMHtmlTipRequest request;
//   request.aboutUrl = OsmHtmlTipAboutText(hNormalFont, GetTipBkColor());
//   request.html = toolText;  request.maxWidth = GetMaxTipWidth();  request.margins = margins;
//   return m_htmlHost->MeasureTip(request);                   // (0, 0): return it and touch nothing more
//
// and in its destructor calls Close() on the host before letting its reference go.
//
// The document loads once. The first measurement waits for it at most 2000 ms from the navigation, pumping the
// thread's messages; what those messages do cannot hurt it: a measurement started meanwhile answers (0, 0), a
// WM_QUIT ends the wait and is posted again with its code, and a host closed meanwhile (its tip window destroyed or
// deleted) gives (0, 0) without being touched again. A document still loading when the wait ends gives (0, 0); later
// measurements look at the ready state once and go on only when the document is complete. Without the control's
// HTML engine (or its document) every tip measures (0, 0): no tip, and no plain-text imitation.
//
// The host never initialises COM: on a thread without it, Open answers null.
#pragma once

#include "classlib/Wnd.h"
#include "classlib/RefPtr.h"

#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <oleidl.h>

#include <functional>

// The "about:" document a tip loads: the face and pixel size for the body and tables, the background colour as
// #rrggbb, no margins.
CString OsmHtmlTipAboutText(LPCSTR lpszFaceName, int nFontSize, COLORREF clrBackground);
// The same for a font: its face and its absolute height when the font's LOGFONT can be read (and says a height),
// else Arial, 11.
CString OsmHtmlTipAboutText(HFONT hFont, COLORREF clrBackground);

// What a tip's measurement needs from its window.
struct COSMHtmlTipRequest
{
    CString aboutUrl;           // the document to load once (OsmHtmlTipAboutText)
    CString html;               // the tool's text, the body's new content; empty measures (0, 0)
    int maxWidth = -1;          // the context's maximum tip width; -1: the screen width
    CRect margins{0, 0, 0, 0};  // the tip's margins (left, top, right, bottom)
};

class COSMHtmlTipHost : public CWnd
{
public:
    // The host window's child id.
    static constexpr UINT kChildId = 59648;
    // How long the first measurement waits for the document, counted from the navigation.
    static constexpr DWORD kLoadTimeoutMs = 2000;

    COSMHtmlTipHost();
    ~COSMHtmlTipHost() override;

    // A new host in pParent with the control in place; null when COM is not initialised on this thread or the control
    // (or its IWebBrowser2) is missing. The caller owns the one reference.
    static RefPtr<COSMHtmlTipHost> Open(CWnd* pParent);
    // What Open does, on an object made by the caller (the count's first reference stays the caller's). FALSE leaves
    // no window.
    BOOL CreateHost(CWnd* pParent);
    // Lets the control go and destroys the window; the object lives on while references to it remain.
    void Close();
    // The window and the control are both there.
    BOOL IsOpen() const;

    // The tip's size for request.html: the width search's width plus the margins and 3 on each side, by the content's
    // natural height plus the same; the host ends sized to the content at (left + 3, top + 3). (0, 0) when the
    // document is not loaded, the text is empty, a document interface is missing, or the host was closed meanwhile.
    CSize MeasureTip(const COSMHtmlTipRequest& request);

    // The control's ready state (READYSTATE_UNINITIALIZED without a control).
    READYSTATE GetReadyState() const;
    IWebBrowser2* GetBrowser() const { return m_browser.Get(); }
    // The in-place object, null when the control did not activate in place.
    IOleInPlaceObject* GetInPlaceObject() const { return m_inPlaceObject.Get(); }
    // True while the first measurement waits for the document.
    bool IsWaitingForDocument() const { return m_waiting; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
    DECLARE_INTERFACE_MAP()

private:
    struct XClientSite : CNestedInterface<IOleClientSite>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE SaveObject() override;
        HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
        HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
        HRESULT STDMETHODCALLTYPE ShowObject() override;
        HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) override;
        HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;
    };
    struct XDocHostUIHandler : CNestedInterface<IDocHostUIHandler>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                                  IDispatch* pdispReserved) override;
        HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* pInfo) override;
        HRESULT STDMETHODCALLTYPE ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                         IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                         IOleInPlaceUIWindow* pDoc) override;
        HRESULT STDMETHODCALLTYPE HideUI() override;
        HRESULT STDMETHODCALLTYPE UpdateUI() override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
        HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL fActivate) override;
        HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL fActivate) override;
        HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                               BOOL fRameWindow) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
        HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) override;
        HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
        HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** ppDispatch) override;
        HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
        HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;
    };
    struct XInPlaceSite : CNestedInterface<IOleInPlaceSite>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
        HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnUIActivate() override;
        HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                   LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                   LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
        HRESULT STDMETHODCALLTYPE Scroll(SIZE scrollExtant) override;
        HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL fUndoable) override;
        HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
        HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
        HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
        HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) override;
    };
    // The frame an in-place object asks its site for: a tip has no menus, tools or status line to share.
    struct XInPlaceFrame : CNestedInterface<IOleInPlaceFrame>
    {
        using CNestedInterface::CNestedInterface;
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
        HRESULT STDMETHODCALLTYPE GetBorder(LPRECT lprectBorder) override;
        HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
        HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
        HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
                                                  LPCOLESTR pszObjName) override;
        HRESULT STDMETHODCALLTYPE InsertMenus(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
        HRESULT STDMETHODCALLTYPE SetMenu(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
        HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU hmenuShared) override;
        HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR pszStatusText) override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg, WORD wID) override;
    };

    // Navigates once and waits for the document (bounded); later, looks at the ready state once. TRUE when the
    // document is complete and the host still open.
    BOOL LoadDocument(const CString& aboutUrl);
    // The document's body, or null.
    RefPtr<IHTMLElement> GetBody() const;
    // Sizes the window (keeping its place) and answers the body's scroll size.
    CSize LayOutAt(IHTMLTextContainer* pContainer, int cx, int cy);
    // Lets the control go (the window stays).
    void ReleaseControl();
    HWND GetHostWindow() const { return m_hWnd; }

    XClientSite m_xClientSite{this};
    XDocHostUIHandler m_xDocHostUIHandler{this};
    XInPlaceSite m_xInPlaceSite{this};
    XInPlaceFrame m_xInPlaceFrame{this};

    RefPtr<IOleObject> m_oleObject;
    RefPtr<IWebBrowser2> m_browser;
    RefPtr<IOleInPlaceObject> m_inPlaceObject;
    bool m_navigated = false;
    bool m_waiting = false;
};
