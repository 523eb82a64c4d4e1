// COSMMarkupContext is the per-host state of the markup engine: the window that hosts markup elements, the element
// holding the mouse capture, and the host's named delegates and top-level event handlers. It is reference counted:
// the host's reference (CreateMarkupContext, ReleaseMarkupContext in Markup.h) and one for every input element it
// created, so it lives as long as its host or its last element, whichever is later.
//
//   COSMMarkupContext* context = CreateMarkupContext(hwnd);
//   context->AddDelegate(L"OnClick", new COSMMarkupFunctionDelegate(...));
//   COSMMarkupUIElement* root = context->Parse("<Border MouseEnter=\"OnClick\"/>");   // or null
//   COSMMarkupObject* border = context->CreateObject(COSMMarkupBorder::GetClassType());
//   ...
//   ReleaseMarkupContext(&context);
//
// Making one makes sure every markup type has its properties registered, once per process, so every object it
// creates has a slot for every property, and starts one use of GDI+ for markup drawing (ended by its destructor).
// The host forwards its window messages to OnWndMsg for hover, cursors, capture, wheel and button events.
// The default font and colour are read while text is laid out: change them before parsing (the text block keeps
// its layout until its measure is invalidated), and re-parse after a change. User-interface thread only; only the
// count is interlocked.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefCount.h"
#include "classlib/RefPtr.h"
#include "classlib/ScopedHandle.h"
#include "framework/markup/MarkupObject.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class COSMImageManager;
class COSMMarkupDelegate;
class COSMMarkupFont;
class COSMMarkupKeyboardNavigation;
class COSMMarkupToolTipContext;
class COSMMarkupHandlerMap;
class COSMMarkupInputElement;
class COSMMarkupRoutedEvent;
class COSMMarkupUIElement;
struct COSMMarkupRoutedEventArgs;

class COSMMarkupContext
{
public:
    // Count 1, for the creator. A null host ignores invalidations and capture.
    explicit COSMMarkupContext(HWND hostWindow = nullptr);
    COSMMarkupContext(const COSMMarkupContext&) = delete;
    COSMMarkupContext& operator=(const COSMMarkupContext&) = delete;

protected:
    // ---- Override these (in this order) ----------------------------------------------------------------------
    // Frees the handlers and releases the delegates. Contexts go through Release, never delete.
    virtual ~COSMMarkupContext();
    // The last reference went: deletes the context. The count reads 1 while it runs (CRefCount), so a reference
    // taken and given back here or in the destructor cannot start a second final release.
    virtual void OnFinalRelease();
    // Hands the host window a rectangle to repaint (null: the whole client area), without erasing.
    virtual void InvalidateHost(const RECT* rect);

public:
    // A message of the host window, with root the tree it shows. TRUE when markup handled it; *result is then the
    // message's answer where it has one (WM_SETCURSOR, WM_MOUSEWHEEL). Nothing without a host window, or for a
    // root other than the one under the mouse. The context stays alive until it returns, whatever handlers release.
    virtual BOOL OnWndMsg(COSMMarkupUIElement* root, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Invalidates the element's rectangle in the host window, without erasing. An element that was never arranged,
    // or has no area, covers nothing of the host: it invalidates nothing. While an invalidation batch is open the
    // rectangle is collected instead and handed to the host once, when the outermost batch closes.
    virtual void InvalidateVisual(COSMMarkupObject* element);
    // A root's desired size changed: invalidates the whole client area of the host, without erasing (collected
    // like the rest while a batch is open).
    virtual void OnDesiredSizeChanged(COSMMarkupObject* element);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Both return the new count; the release that gives up the last reference returns 0 and deletes the context.
    LONG AddRef();
    LONG Release();
    LONG GetRefCount() const { return m_refCount.Get(); }

    // The tree the 8-bit, NUL-terminated markup text describes, one reference for the caller; null for a null text
    // or one that does not parse (the builder's message is not passed on). The mouse-over element, the active root
    // and the capture are forgotten first.
    COSMMarkupUIElement* Parse(LPCSTR text);
    // A new default instance of type (one reference for the caller); null for a null type or one that makes none.
    // An input element gets this context, which counts it until the element goes.
    COSMMarkupObject* CreateObject(const COSMMarkupType* type);
    // An input element of this context goes: it no longer holds the capture, loses its context and releases it.
    void OnElementDestroyed(COSMMarkupInputElement* element);

    HWND GetHostWindow() const { return m_hHostWindow; }

    // Holds back the host's invalidations while it lives: a parse or an input event may change many properties,
    // and each change that would repaint costs the host a call into the window system. What was collected goes to
    // the host in one call when the outermost batch ends.
    class CInvalidationBatch
    {
    public:
        explicit CInvalidationBatch(COSMMarkupContext* context);
        ~CInvalidationBatch();
        CInvalidationBatch(const CInvalidationBatch&) = delete;
        CInvalidationBatch& operator=(const CInvalidationBatch&) = delete;

    private:
        COSMMarkupContext* m_pContext;
    };

    // A font made from logFont, one reference for the caller. Fonts are shared by height, weight, italic flag,
    // quality and face name (other fields are not compared); a font leaves the cache with its last reference.
    COSMMarkupFont* GetFont(const LOGFONTW& logFont);
    // A font of this cache goes (its destructor calls this).
    void OnFontDestroyed(COSMMarkupFont* font);
    // The route of a mouse event: element and each logical ancestor that is an input element, innermost first,
    // each with a reference added (the caller releases them).
    static void CollectInputElements(COSMMarkupObject* element, std::vector<COSMMarkupInputElement*>& route);
    COSMMarkupKeyboardNavigation* GetKeyboardNavigation() const { return m_pKeyboardNavigation; }
    COSMMarkupToolTipContext* GetToolTipContext() const { return m_pToolTip.get(); }

    // The host window takes the mouse capture for element, which keeps it until ReleaseMouseCapture or its end.
    void CaptureMouse(COSMMarkupInputElement* element);
    void ReleaseMouseCapture();
    COSMMarkupInputElement* GetCaptureElement() const { return m_pCaptureElement; }
    // The innermost element under the mouse, and the root of its tree (null while the mouse is elsewhere).
    COSMMarkupInputElement* GetMouseOverElement() const { return m_pMouseOverElement; }
    COSMMarkupObject* GetActiveRoot() const { return m_pActiveRoot; }

    // The element's rectangle in host-window coordinates: a visual's bounding rectangle moved by its own and every
    // visual ancestor's offset; for text, its whole text block's; empty for anything else.
    CRect GetClientBoundingRect(COSMMarkupObject* element) const;

    // Names delegate for markup's event attributes, taking over its reference; one already of that name is released.
    void AddDelegate(LPCWSTR name, COSMMarkupDelegate* delegate);
    // The delegate registered under name (borrowed), or null.
    COSMMarkupDelegate* FindDelegate(LPCWSTR name) const;
    // A context-level handler of routedEvent: it hears bubbling events that no element handled. Takes over
    // delegate's reference.
    void AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* delegate);
    // Runs the context-level handlers of args->event with element as sender.
    void RaiseContextHandlers(COSMMarkupInputElement* element, COSMMarkupRoutedEventArgs* args);

    // ---- The context's image store ------------------------------------------------------------------------------
    // Images given by command id come from this manager when the context has one (null at creation), else from
    // the process-wide one. The setter adds a reference to manager (may be null) and releases the previous one;
    // the destructor releases it.
    void SetImageManager(COSMImageManager* manager);
    COSMImageManager* GetImageManager() const { return m_pImageManager.Get(); }

    // ---- Measuring --------------------------------------------------------------------------------------------
    // The memory DC, compatible with the screen, that this context's elements measure on when no caller gives
    // them one (an invalidated measure, an arrange that finds its measure due): made on first use and kept until
    // the context goes, so that layout makes no GDI object per element. Null when it cannot be made.
    HDC GetMeasuringDC();

    // The defaults markup is measured and drawn with: the system's message font in the framework's character set,
    // and black.
    LOGFONTW defaultLogFont;
    COLORREF defaultColor = 0;

private:
    // Moves the mouse-over to element (may be null): leave along the old route's own part, enter along the new's.
    void ChangeMouseOver(COSMMarkupInputElement* element, int x, int y);
    // Where the mouse is in the host's client area for a message: lParam's point for the client-area mouse messages,
    // lParam's screen point for WM_MOUSEWHEEL, the cursor's position for WM_SETCURSOR.
    CPoint MousePointInHost(UINT message, LPARAM lParam) const;
    void OnMouseMove(COSMMarkupUIElement* root, int x, int y);
    BOOL QueryCursor(int x, int y);
    BOOL OnMouseWheel(int delta, int x, int y);
    BOOL OnMouseButton(UINT message, int x, int y);
    // Gives the host what the batches collected.
    void FlushInvalidation();

    HWND m_hHostWindow;
    int m_nInvalidationBatches = 0;
    CRect m_rcPendingInvalid;
    BOOL m_bPendingWholeInvalid = FALSE;
    COSMMarkupInputElement* m_pMouseOverElement = nullptr;
    COSMMarkupInputElement* m_pCaptureElement = nullptr;
    COSMMarkupObject* m_pActiveRoot = nullptr;
    std::unique_ptr<COSMMarkupHandlerMap> m_pHandlers;
    std::map<std::wstring, COSMMarkupDelegate*> m_delegates;
    COSMMarkupFont* m_pFirstFont = nullptr;
    COSMMarkupKeyboardNavigation* m_pKeyboardNavigation = nullptr;
    std::unique_ptr<COSMMarkupToolTipContext> m_pToolTip;
    RefPtr<COSMImageManager> m_pImageManager;
    ScopedCreatedDC m_measuringDC;
    CRefCount m_refCount;
};
