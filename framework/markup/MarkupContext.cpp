#include "framework/markup/MarkupContext.h"

#include "classlib/Wnd.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupFrameworkElement.h"
#include "framework/markup/MarkupHandlerMap.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupKeyboardNavigation.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupToolTipContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"
#include "framework/markup/MarkupUIElement.h"
#include "framework/markup/MarkupVisual.h"
#include "framework/markup/MarkupXmlReader.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

#include <windowsx.h>

namespace {

// The message font of the non-client metrics. The record is asked for without iPaddedBorderWidth, the size every
// system since NT 4 accepts; newer headers add the field, and older systems refuse the longer record.
LOGFONTW SystemMessageFont()
{
    NONCLIENTMETRICSW metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    LOGFONTW logFont;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        logFont = metrics.lfMessageFont;
    else
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfCharSet = GetResourceManager()->GetFontCharset();
    return logFont;
}

BOOL SameFont(const LOGFONTW& a, const LOGFONTW& b)
{
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfQuality == b.lfQuality && wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

// A route whose references go with it.
class CRoute
{
public:
    explicit CRoute(COSMMarkupObject* element) { COSMMarkupContext::CollectInputElements(element, elements); }
    ~CRoute()
    {
        for (COSMMarkupInputElement* element : elements)
            element->Release();
    }
    CRoute(const CRoute&) = delete;
    CRoute& operator=(const CRoute&) = delete;

    std::vector<COSMMarkupInputElement*> elements;
};

// Raises args along route, innermost first; each element that left it unhandled runs its own handler. Stops once
// handled.
template <class Args, class Handler>
BOOL Dispatch(const std::vector<COSMMarkupInputElement*>& route, Args* args, Handler handler)
{
    for (COSMMarkupInputElement* element : route)
    {
        if (args->event)
            element->RaiseEvent(args);
        if (!args->handled)
            (element->*handler)(args);
        if (args->handled)
            return TRUE;
    }
    return FALSE;
}

BOOL IsWithin(COSMMarkupObject* element, COSMMarkupObject* ancestor)
{
    for (COSMMarkupObject* object = element; object; object = object->GetLogicalParent())
    {
        if (object == ancestor)
            return TRUE;
    }
    return FALSE;
}

}  // namespace

COSMMarkupContext::COSMMarkupContext(HWND hostWindow) : defaultLogFont(SystemMessageFont()), m_hHostWindow(hostWindow)
{
    InitializeMarkupTypesOnce();
    m_pKeyboardNavigation = new COSMMarkupKeyboardNavigation(this);
    m_pToolTip = std::make_unique<COSMMarkupToolTipContext>(this);
    RegisterGdiPlusForMarkup(TRUE);
}

COSMMarkupContext::~COSMMarkupContext()
{
    m_pToolTip.reset();
    m_pMouseOverElement = nullptr;
    m_pActiveRoot = nullptr;
    if (m_pKeyboardNavigation)
        m_pKeyboardNavigation->Release();
    // Fonts still held elsewhere outlive the cache: they forget it.
    for (COSMMarkupFont* font = m_pFirstFont; font; font = font->GetNextFont())
        font->DetachContext();
    m_pFirstFont = nullptr;
    m_pHandlers.reset();
    for (auto& entry : m_delegates)
        entry.second->Release();
    m_delegates.clear();
    SetImageManager(nullptr);
    RegisterGdiPlusForMarkup(FALSE);
}

BOOL COSMMarkupContext::OnWndMsg(COSMMarkupUIElement* root, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_hHostWindow || (m_pActiveRoot && m_pActiveRoot != root))
        return FALSE;
    // Held until the end: a handler may release the last other reference.
    const RefPtr<COSMMarkupContext> alive = RefPtr<COSMMarkupContext>::Retain(this);
    // Hover and press change states along whole routes of elements: one repaint of what changed, after them all.
    const CInvalidationBatch batch(this);
    const CPoint point = MousePointInHost(message, lParam);
    const int x = point.x;
    const int y = point.y;
    if ((message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSELEAVE)
        m_pToolTip->FilterToolTipMessage(CWnd::FromHandle(m_hHostWindow), message, wParam, lParam);
    switch (message)
    {
    case WM_MOUSEMOVE:
        if (root)
            OnMouseMove(root, x, y);
        return FALSE;
    case WM_DESTROY:
    case WM_MOUSELEAVE:
        ChangeMouseOver(nullptr, -1, -1);
        m_pActiveRoot = nullptr;
        return FALSE;
    case WM_SETCURSOR:
        if (!QueryCursor(x, y))
            return FALSE;
        if (result)
            *result = 1;
        return TRUE;
    case WM_MOUSEWHEEL:
        if (!OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), x, y))
            return FALSE;
        if (result)
            *result = 1;
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return OnMouseButton(message, x, y);
    case WM_CAPTURECHANGED:
        if (COSMMarkupInputElement* captured = m_pCaptureElement)
        {
            const RefPtr<COSMMarkupInputElement> held = RefPtr<COSMMarkupInputElement>::Retain(captured);
            m_pCaptureElement = nullptr;
            COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pLostMouseCaptureEvent);
            args.hwnd = m_hHostWindow;
            captured->RaiseEvent(&args);
            if (!args.handled)
                captured->OnLostMouseCapture(&args);
        }
        return FALSE;
    case WM_KEYDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return m_pKeyboardNavigation && m_pKeyboardNavigation->OnMessage(message, wParam, lParam) != 0;
    default:
        return FALSE;
    }
}

CPoint COSMMarkupContext::MousePointInHost(UINT message, LPARAM lParam) const
{
    CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message)
    {
    case WM_SETCURSOR:
        // lParam holds the hit-test code and the mouse message, not a position: the cursor is where it is now.
        ::GetCursorPos(&point);
        ::ScreenToClient(m_hHostWindow, &point);
        break;
    case WM_MOUSEWHEEL:
        // The wheel's position comes in screen coordinates.
        ::ScreenToClient(m_hHostWindow, &point);
        break;
    default:
        break;  // the client-area mouse messages carry client coordinates
    }
    return point;
}

void COSMMarkupContext::OnMouseMove(COSMMarkupUIElement* root, int x, int y)
{
    COSMMarkupInputElement* hit = root->InputHitTest(x, y);
    if (m_pCaptureElement)
        hit = IsWithin(hit, m_pCaptureElement) ? m_pCaptureElement : nullptr;
    if (hit != m_pMouseOverElement)
    {
        ChangeMouseOver(hit, x, y);
        if (m_pMouseOverElement)
        {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hHostWindow, 0};
            ::TrackMouseEvent(&track);
        }
        if (!QueryCursor(x, y))
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    }
    m_pActiveRoot = m_pMouseOverElement ? root : nullptr;
    if (!m_pMouseOverElement)
        return;
    CRoute route(m_pMouseOverElement);
    COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pMouseMoveEvent);
    args.hwnd = m_hHostWindow;
    args.x = x;
    args.y = y;
    Dispatch(route.elements, &args, &COSMMarkupInputElement::OnMouseMove);
}

void COSMMarkupContext::ChangeMouseOver(COSMMarkupInputElement* element, int x, int y)
{
    if (element == m_pMouseOverElement)
        return;
    if (!element)
        m_pActiveRoot = nullptr;
    CRoute oldRoute(m_pMouseOverElement);
    CRoute newRoute(element);
    // The common ancestors stay under the mouse: they hear neither event.
    while (!oldRoute.elements.empty() && !newRoute.elements.empty() &&
           oldRoute.elements.back() == newRoute.elements.back())
    {
        oldRoute.elements.back()->Release();
        oldRoute.elements.pop_back();
        newRoute.elements.back()->Release();
        newRoute.elements.pop_back();
    }
    COSMMarkupMouseEventArgs leave(COSMMarkupInputElement::s_pMouseLeaveEvent);
    leave.hwnd = m_hHostWindow;
    leave.x = x;
    leave.y = y;
    Dispatch(oldRoute.elements, &leave, &COSMMarkupInputElement::OnMouseLeave);
    m_pMouseOverElement = element;
    COSMMarkupMouseEventArgs enter(COSMMarkupInputElement::s_pMouseEnterEvent);
    enter.hwnd = m_hHostWindow;
    enter.x = x;
    enter.y = y;
    Dispatch(newRoute.elements, &enter, &COSMMarkupInputElement::OnMouseEnter);
}

BOOL COSMMarkupContext::QueryCursor(int x, int y)
{
    if (!m_pMouseOverElement)
        return FALSE;
    CRoute route(m_pMouseOverElement);
    COSMMarkupQueryCursorEventArgs args;
    args.hwnd = m_hHostWindow;
    args.x = x;
    args.y = y;
    Dispatch(route.elements, &args, &COSMMarkupInputElement::OnQueryCursor);
    if (!args.cursor)
        return FALSE;
    ::SetCursor(args.cursor);
    return TRUE;
}

BOOL COSMMarkupContext::OnMouseWheel(int delta, int x, int y)
{
    if (!m_pMouseOverElement)
        return FALSE;
    CRoute route(m_pMouseOverElement);
    COSMMarkupMouseWheelEventArgs args;
    args.hwnd = m_hHostWindow;
    args.x = x;
    args.y = y;
    args.delta = delta;
    return Dispatch(route.elements, &args, &COSMMarkupInputElement::OnMouseWheel);
}

BOOL COSMMarkupContext::OnMouseButton(UINT message, int x, int y)
{
    COSMMarkupInputElement* target = m_pCaptureElement ? m_pCaptureElement : m_pMouseOverElement;
    if (!target)
        return FALSE;
    COSMMarkupRoutedEvent* routedEvent = nullptr;
    void (COSMMarkupInputElement::*handler)(COSMMarkupMouseEventArgs*) = nullptr;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        routedEvent = COSMMarkupInputElement::s_pMouseLeftButtonDownEvent;
        handler = &COSMMarkupInputElement::OnMouseLeftButtonDown;
        break;
    case WM_LBUTTONUP:
        routedEvent = COSMMarkupInputElement::s_pMouseLeftButtonUpEvent;
        handler = &COSMMarkupInputElement::OnMouseLeftButtonUp;
        break;
    case WM_RBUTTONDOWN:
        routedEvent = COSMMarkupInputElement::s_pMouseRightButtonDownEvent;
        handler = &COSMMarkupInputElement::OnMouseRightButtonDown;
        break;
    default:
        routedEvent = COSMMarkupInputElement::s_pMouseRightButtonUpEvent;
        handler = &COSMMarkupInputElement::OnMouseRightButtonUp;
        break;
    }
    CRoute route(target);
    COSMMarkupMouseEventArgs args(routedEvent);
    args.hwnd = m_hHostWindow;
    args.x = x;
    args.y = y;
    return Dispatch(route.elements, &args, handler);
}

COSMMarkupFont* COSMMarkupContext::GetFont(const LOGFONTW& logFont)
{
    COSMMarkupFont* last = nullptr;
    for (COSMMarkupFont* font = m_pFirstFont; font; font = font->GetNextFont())
    {
        if (SameFont(font->GetLogFont(), logFont))
        {
            font->AddRef();
            return font;
        }
        last = font;
    }
    COSMMarkupFont* font = new COSMMarkupFont(logFont, this);
    if (last)
        last->SetNextFont(font);
    else
        m_pFirstFont = font;
    return font;
}

void COSMMarkupContext::OnFontDestroyed(COSMMarkupFont* font)
{
    if (m_pFirstFont == font)
    {
        m_pFirstFont = font->GetNextFont();
        return;
    }
    for (COSMMarkupFont* previous = m_pFirstFont; previous; previous = previous->GetNextFont())
    {
        if (previous->GetNextFont() == font)
        {
            previous->SetNextFont(font->GetNextFont());
            return;
        }
    }
}

void COSMMarkupContext::CollectInputElements(COSMMarkupObject* element, std::vector<COSMMarkupInputElement*>& route)
{
    for (COSMMarkupObject* object = element; object; object = object->GetLogicalParent())
    {
        if (COSMMarkupInputElement* input = MarkupDynamicCast<COSMMarkupInputElement>(object))
        {
            input->AddRef();
            route.push_back(input);
        }
    }
}

void COSMMarkupContext::InvalidateVisual(COSMMarkupObject* element)
{
    if (!m_hHostWindow)
        return;
    // A tree being built has never been laid out: none of it is on the host yet.
    COSMMarkupObject* shown = element;
    if (const COSMMarkupFrameworkContentElement* content =
            MarkupDynamicCast<COSMMarkupFrameworkContentElement>(element))
        shown = content->GetHostElement();
    const COSMMarkupUIElement* visual = MarkupDynamicCast<COSMMarkupUIElement>(shown);
    if (!visual || visual->IsNeverArranged())
        return;
    const CRect rect = GetClientBoundingRect(element);
    if (rect.IsRectEmpty())
        return;
    if (m_nInvalidationBatches > 0)
    {
        if (!m_bPendingWholeInvalid)
            m_rcPendingInvalid.UnionRect(m_rcPendingInvalid, rect);
        return;
    }
    InvalidateHost(&rect);
}

void COSMMarkupContext::OnDesiredSizeChanged(COSMMarkupObject* element)
{
    if (!m_hHostWindow)
        return;
    if (m_nInvalidationBatches > 0)
    {
        m_bPendingWholeInvalid = TRUE;
        return;
    }
    InvalidateHost(nullptr);
}

void COSMMarkupContext::InvalidateHost(const RECT* rect)
{
    ::InvalidateRect(m_hHostWindow, rect, FALSE);
}

void COSMMarkupContext::FlushInvalidation()
{
    const BOOL whole = m_bPendingWholeInvalid;
    const CRect pending = m_rcPendingInvalid;
    m_bPendingWholeInvalid = FALSE;
    m_rcPendingInvalid.SetRectEmpty();
    if (!m_hHostWindow)
        return;
    if (whole)
        InvalidateHost(nullptr);
    else if (!pending.IsRectEmpty())
        InvalidateHost(&pending);
}

COSMMarkupContext::CInvalidationBatch::CInvalidationBatch(COSMMarkupContext* context) : m_pContext(context)
{
    if (m_pContext)
        ++m_pContext->m_nInvalidationBatches;
}

COSMMarkupContext::CInvalidationBatch::~CInvalidationBatch()
{
    if (m_pContext && --m_pContext->m_nInvalidationBatches == 0)
        m_pContext->FlushInvalidation();
}

LONG COSMMarkupContext::AddRef()
{
    return m_refCount.AddRef();
}

LONG COSMMarkupContext::Release()
{
    const LONG count = m_refCount.Release();
    if (count == 0)
        OnFinalRelease();
    return count;
}

void COSMMarkupContext::OnFinalRelease()
{
    delete this;
}

COSMMarkupUIElement* COSMMarkupContext::Parse(LPCSTR text)
{
    m_pMouseOverElement = nullptr;
    m_pActiveRoot = nullptr;
    ReleaseMouseCapture();
    if (!text)
        return nullptr;
    COSMMarkupXmlReader reader;
    reader.SetInput(text, text + strlen(text));
    const CInvalidationBatch batch(this);
    COSMMarkupBuilder builder(this);
    return builder.Parse(&reader);
}

COSMMarkupObject* COSMMarkupContext::CreateObject(const COSMMarkupType* type)
{
    COSMMarkupObject* object = type ? type->CreateInstance() : nullptr;
    if (COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object))
    {
        element->SetMarkupContext(this);
        AddRef();
    }
    return object;
}

void COSMMarkupContext::OnElementDestroyed(COSMMarkupInputElement* element)
{
    if (m_pMouseOverElement == element)
        m_pMouseOverElement = nullptr;
    if (m_pActiveRoot == element)
        m_pActiveRoot = nullptr;
    if (m_pCaptureElement == element)
        ReleaseMouseCapture();
    if (element->GetMarkupContext() != this)
        return;
    element->SetMarkupContext(nullptr);
    Release();
}

HDC COSMMarkupContext::GetMeasuringDC()
{
    if (!m_measuringDC)
        m_measuringDC.Reset(::CreateCompatibleDC(nullptr));
    return m_measuringDC.Get();
}

void COSMMarkupContext::SetImageManager(COSMImageManager* manager)
{
    m_pImageManager = RefPtr<COSMImageManager>::Retain(manager);
}

void COSMMarkupContext::CaptureMouse(COSMMarkupInputElement* element)
{
    if (element == m_pCaptureElement)
        return;
    if (m_hHostWindow)
        ::SetCapture(m_hHostWindow);
    m_pCaptureElement = element;
}

void COSMMarkupContext::ReleaseMouseCapture()
{
    m_pCaptureElement = nullptr;
    // Only our own capture: another window of the thread may hold it by now.
    if (m_hHostWindow && ::GetCapture() == m_hHostWindow)
        ::ReleaseCapture();
}

CRect COSMMarkupContext::GetClientBoundingRect(COSMMarkupObject* element) const
{
    // Text repaints and shows its tooltip over its whole text block.
    if (const COSMMarkupFrameworkContentElement* content =
            MarkupDynamicCast<COSMMarkupFrameworkContentElement>(element))
        element = content->GetHostElement();
    const COSMMarkupVisual* visual = MarkupDynamicCast<COSMMarkupVisual>(element);
    if (!visual)
        return CRect(0, 0, 0, 0);
    CRect rect = visual->GetBoundRect();
    for (const COSMMarkupObject* object = visual; object; object = object->GetLogicalParent())
    {
        if (const COSMMarkupVisual* ancestor = MarkupDynamicCast<COSMMarkupVisual>(object))
            rect = OffsetMarkupRect(rect, ancestor->GetVisualOffset().x, ancestor->GetVisualOffset().y);
    }
    return rect;
}

void COSMMarkupContext::AddDelegate(LPCWSTR name, COSMMarkupDelegate* delegate)
{
    if (!name || !delegate)
    {
        if (delegate)
            delegate->Release();
        return;
    }
    COSMMarkupDelegate*& entry = m_delegates[name];
    COSMMarkupDelegate* replaced = entry;
    entry = delegate;
    if (replaced)
        replaced->Release();
}

COSMMarkupDelegate* COSMMarkupContext::FindDelegate(LPCWSTR name) const
{
    if (!name)
        return nullptr;
    const auto found = m_delegates.find(name);
    return found == m_delegates.end() ? nullptr : found->second;
}

void COSMMarkupContext::AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* delegate)
{
    if (!m_pHandlers)
        m_pHandlers = std::make_unique<COSMMarkupHandlerMap>();
    m_pHandlers->AddHandler(routedEvent, delegate);
}

void COSMMarkupContext::RaiseContextHandlers(COSMMarkupInputElement* element, COSMMarkupRoutedEventArgs* args)
{
    if (m_pHandlers)
        m_pHandlers->InvokeHandlers(element, args);
}
