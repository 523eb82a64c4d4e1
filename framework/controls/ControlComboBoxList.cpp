#include "framework/controls/ControlComboBoxList.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/foundation/BufferDC.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/PropExchange.h"

namespace {

// The list box's own styles come from the bar's "Style" word; this bit of it is the bar's, not the list box's.
const DWORD kComboListBarStyleBit = 0x400000;
const DWORD kComboListOwnerDrawMask = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE;
const DWORD kComboListChildStyle = WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | LBS_NOTIFY;
const DWORD kComboListPopupStyle = WS_POPUP | WS_CLIPCHILDREN | WS_VSCROLL;
const DWORD kComboListExStyle = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;
const DWORD kComboListRtlExStyle = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
const int kComboListCreateHeight = 50;

BOOL IsAltDown()
{
    return ::GetKeyState(VK_MENU) < 0;
}

BOOL IsListNavigationKey(UINT key)
{
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}

}  // namespace

// ---- The drop-down ----

IMPLEMENT_SERIAL(COSMControlComboBoxPopupBar, COSMPopupBar, VERSIONABLE_SCHEMA | 0x22)

COSMControlComboBoxPopupBar::COSMControlComboBoxPopupBar()
{
    // The combo box that opens the drop-down holds the mouse lock while it has the focus: the drop-down follows the
    // mouse all the same.
    m_lockExempt = TRUE;
    // The edit window keeps its caret while the drop-down tracks: the user goes on typing.
    m_hideCaretWhileTracking = FALSE;
}

COSMControlComboBox* COSMControlComboBoxPopupBar::GetComboBox() const
{
    if (!m_controlPopup || !m_controlPopup->IsKindOf(RUNTIME_CLASS(COSMControlComboBox)))
        return nullptr;
    return static_cast<COSMControlComboBox*>(m_controlPopup);
}

int COSMControlComboBoxPopupBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    COSMControlComboBox* combo = GetComboBox();
    if (!combo)
        return COSMPopupBar::OnHookKeyDown(key, lParam);
    if (key == VK_ESCAPE)
        return combo->IsFocused() ? 0 : COSMPopupBar::OnHookKeyDown(key, lParam);
    if (key == VK_TAB)
        return 0;
    return ProcessHookKeyDown(combo, key, lParam);
}

int COSMControlComboBoxPopupBar::ProcessHookKeyDown(COSMControlComboBox* combo, UINT key, LPARAM lParam)
{
    const int before = GetCurSel();
    if (combo->HasEditWindow())
    {
        if (!IsListNavigationKey(key) || IsAltDown())
            return 0;
    }
    else if ((key == VK_F4 && !IsAltDown()) || ((key == VK_UP || key == VK_DOWN) && IsAltDown()))
    {
        return 0;
    }
    DeliverListKey(combo, key, lParam);
    if (GetCurSel() != before)
    {
        combo->OnSelChanged();
        if (combo->HasEditWindow())
        {
            combo->GetEditCtrl()->SetSel(0, -1);
            combo->GetEditCtrl()->SendMessage(EM_SCROLLCARET);
        }
    }
    return 1;
}

void COSMControlComboBoxPopupBar::DeliverListKey(COSMControlComboBox* combo, UINT key, LPARAM lParam)
{
    COSMPopupBar::OnHookKeyDown(key, lParam);
}

COSMCommandBar* COSMControlComboBoxPopupBar::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlComboBoxPopupBar*>(GetRuntimeClass()->CreateObject());
    clone->SetCommandBars(GetCommandBarsField());
    clone->Copy(this, recursive);
    return clone;
}

// ---- The list ----

IMPLEMENT_SERIAL(COSMControlComboBoxList, COSMControlComboBoxPopupBar, VERSIONABLE_SCHEMA | 0x22)

BEGIN_MESSAGE_MAP(COSMControlComboBoxList, COSMControlComboBoxPopupBar)
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

COSMControlComboBoxList::COSMControlComboBoxList()
{
    m_position = kPositionNoDropTarget;
    m_mruWidth = 0;
    m_hideCaretWhileTracking = FALSE;
    m_style = 0;
}

BOOL COSMControlComboBoxList::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The window is a list box: only what the list itself handles passes the bar's handlers; everything else keeps
    // the list box's own behaviour (scroll bar, selection, keys).
    switch (message)
    {
    case WM_LBUTTONUP:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MOUSEACTIVATE:
    case WM_DESTROY:
        return COSMControlComboBoxPopupBar::OnWndMsg(message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

LRESULT COSMControlComboBoxList::SendList(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : LB_ERR;
}

BOOL COSMControlComboBoxList::CreateListBox()
{
    if (m_hWnd)
        return TRUE;
    const DWORD style = m_style & ~kComboListBarStyleBit;
    CWnd* site = GetSite();
    const HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    const CRect rect(0, 0, 0, kComboListCreateHeight);
    if (siteWindow && (style & kComboListOwnerDrawMask))
    {
        // A list box reports its items to the window it was made a child of: the site, which hands the reports back
        // here. Clearing the owner takes the child to the desktop; then it becomes a popup owned by the site.
        if (!CreateEx(kComboListExStyle, "LISTBOX", "", style | kComboListChildStyle, rect, site, 0))
            return FALSE;
        ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, 0);
        ::SetWindowLongA(m_hWnd, GWL_STYLE,
                         static_cast<LONG>((::GetWindowLongA(m_hWnd, GWL_STYLE) & ~WS_CHILD) | WS_POPUP));
        ::SetWindowLongPtrA(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(siteWindow));
    }
    else if (!CreateEx(kComboListExStyle, "LISTBOX", "", style | kComboListPopupStyle, rect, nullptr, 0))
    {
        return FALSE;
    }
    ApplyIconRowHeight();
    return TRUE;
}

void COSMControlComboBoxList::ApplyIconRowHeight()
{
    COSMImageManager* images = GetCommandBarsField() && m_listIconId != -1 ? GetImageManager() : nullptr;
    if (images && images->ContainsImage(static_cast<UINT>(m_listIconId), 0))
    {
        if (COSMImageManagerIcon* icon = images->GetImage(static_cast<UINT>(m_listIconId), 16))
            SendList(LB_SETITEMHEIGHT, 0, MAKELPARAM(icon->GetHeight() + kIconRowPadding, 0));
    }
}

int COSMControlComboBoxList::GetCurSel() const
{
    return static_cast<int>(SendList(LB_GETCURSEL));
}

int COSMControlComboBoxList::FindString(int start, LPCSTR text) const
{
    return static_cast<int>(SendList(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
}

int COSMControlComboBoxList::FindStringExact(int start, LPCSTR text) const
{
    return static_cast<int>(SendList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
}

int COSMControlComboBoxList::SetTopIndex(int index)
{
    return static_cast<int>(SendList(LB_SETTOPINDEX, static_cast<WPARAM>(index)));
}

void COSMControlComboBoxList::SetCurSel(int index)
{
    SendList(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void COSMControlComboBoxList::GetText(int index, CString& text) const
{
    text.Empty();
    const LRESULT length = SendList(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR || length < 0)
        return;
    LPSTR buffer = text.GetBuffer(static_cast<int>(length) + 1);
    SendList(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer(static_cast<int>(length));
}

int COSMControlComboBoxList::AddString(LPCSTR text)
{
    CreateListBox();
    return static_cast<int>(SendList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int COSMControlComboBoxList::InsertString(int index, LPCSTR text)
{
    CreateListBox();
    return static_cast<int>(SendList(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int COSMControlComboBoxList::DeleteString(int index)
{
    return static_cast<int>(SendList(LB_DELETESTRING, static_cast<WPARAM>(index)));
}

void COSMControlComboBoxList::ResetContent()
{
    SendList(LB_RESETCONTENT);
}

int COSMControlComboBoxList::GetCount() const
{
    return m_hWnd ? static_cast<int>(SendList(LB_GETCOUNT)) : 0;
}

int COSMControlComboBoxList::GetItemHeight() const
{
    return static_cast<int>(SendList(LB_GETITEMHEIGHT));
}

// ---- Opening and closing ----

BOOL COSMControlComboBoxList::Popup(COSMControlPopup* control, BOOL keyboard)
{
    m_controlPopup = control;
    // A combo box made without a manager (by Type, before it joined a bar) gives its list the opener's.
    if (!GetCommandBarsField() && control && control->GetParent())
        SetCommandBars(control->GetParent()->GetCommandBars());
    if (!CreateListBox())
        return FALSE;
    if (COSMPaintManager* paintManager = GetPaintManager())
    {
        CFont* font = paintManager->GetControlFont(control);
        SendList(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->GetSafeHandle() : nullptr), TRUE);
        // A new font sets the rows to its own height: rows with an icon take the icon's again.
        ApplyIconRowHeight();
    }
    // The site hears of the list before anything shows, as of any popup.
    CWnd* site = GetOwnerSite();
    if (site && site->GetSafeHwnd())
        ::SendMessageA(site->GetSafeHwnd(), kMessagePopupShowing, 0, reinterpret_cast<LPARAM>(this));
    if (!m_hWnd)
        return FALSE;

    COSMCommandBars* commandBars = GetCommandBars();
    LONG exStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~static_cast<LONG>(kComboListRtlExStyle);
    if (commandBars && commandBars->IsLayoutRTL())
        exStyle = (exStyle & ~WS_EX_LAYOUTRTL) | static_cast<LONG>(kComboListRtlExStyle);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, exStyle);

    SetTrackingMode(TRUE, FALSE, FALSE);
    UpdateExcludeRect();

    const COSMControlComboBox* combo = GetComboBox();
    const int maxRows = combo ? combo->GetDropDownItemCount() : 12;
    int rows = std::min(maxRows, GetCount());
    if (rows < 1)
        rows = 1;
    const int width = m_mruWidth > 0 ? m_mruWidth : (control ? control->GetRect().Width() : 0);
    UpdateLocation(CSize(width, rows * GetItemHeight() + kListFrame));
    EnableWindow(TRUE);
    return TRUE;
}

BOOL COSMControlComboBoxList::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    // The bar's own tracking: the popup bar's would destroy the window, and the list box keeps its items in it.
    const BOOL changed = COSMCommandBar::SetTrackingMode(mode, selectFirst, keyboard);
    if (!changed)
        return TRUE;
    COSMControlComboBox* combo = GetComboBox();
    COSMMouseManager* mouse = GetMouseManager();
    if (mode)
    {
        mouse->Lock();
        if (combo)
        {
            combo->SyncSelectionToText();
            combo->NotifySite(COSMControlComboBox::kNotifyDropDown);
        }
        return TRUE;
    }
    if (combo)
        combo->NotifySite(COSMControlComboBox::kNotifyCloseUp);
    mouse->Unlock();
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    if (COSMCommandBar* parent = GetParentCommandBar())
        parent->SetPopuped(-1, FALSE);
    m_controlPopup = nullptr;
    return TRUE;
}

// ---- Keys and mouse ----

int COSMControlComboBoxList::OnHookKeyDown(UINT key, LPARAM lParam)
{
    COSMControlComboBox* combo = GetComboBox();
    if (!combo)
        return COSMControlComboBoxPopupBar::OnHookKeyDown(key, lParam);
    if (combo->HasEditWindow() && combo->GetEditCtrl()->IsImeComposing())
        return ProcessHookKeyDown(combo, key, lParam);
    if (key == VK_ESCAPE || key == VK_TAB)
        return COSMControlComboBoxPopupBar::OnHookKeyDown(key, lParam);
    if (key == VK_RETURN)
    {
        combo->OnExecute();
        return 1;
    }
    return ProcessHookKeyDown(combo, key, lParam);
}

void COSMControlComboBoxList::DeliverListKey(COSMControlComboBox* combo, UINT key, LPARAM lParam)
{
    if (!m_hWnd)
        return;
    if (combo->HasEditWindow())
    {
        DefWindowProc(WM_KEYDOWN, key, lParam);
        return;
    }
    MSG msg{m_hWnd, WM_KEYDOWN, key, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::IsDialogMessageA(m_hWnd, &msg);
    // The letter the key makes jumps to the first item that starts with it.
    MSG typed;
    if (::PeekMessageA(&typed, m_hWnd, WM_CHAR, WM_CHAR, PM_REMOVE))
        DefWindowProc(WM_CHAR, typed.wParam, typed.lParam);
}

int COSMControlComboBoxList::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (m_trackingMode != 0 && nMessage == WM_MOUSEWHEEL && m_hWnd)
    {
        DefWindowProc(WM_MOUSEWHEEL, wParam, lParam);
        return kHandled;
    }
    return COSMControlComboBoxPopupBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void COSMControlComboBoxList::OnMouseMove(UINT flags, CPoint point)
{
    const LRESULT hit = SendList(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    // The high word is set when the point lies beyond the last item.
    if (hit != LB_ERR && HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) != GetCurSel())
        SetCurSel(LOWORD(hit));
    Default();
}

void COSMControlComboBoxList::OnLButtonUp(UINT flags, CPoint point)
{
    COSMControlComboBox* combo = GetComboBox();
    if (!combo)
        return;
    // The row under the pointer is the choice, and its text becomes the combo box's: hovering only moved the list's
    // selection, and an edit window would keep the text it had. Below the last row the selection stands as it is.
    const LRESULT hit = SendList(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (hit != LB_ERR && HIWORD(hit) == 0)
    {
        if (static_cast<int>(LOWORD(hit)) != GetCurSel())
            SetCurSel(LOWORD(hit));
        combo->OnSelChanged();
    }
    combo->OnExecute();
}

// ---- Painting ----

BOOL COSMControlComboBoxList::OnEraseBkgnd(CDC* dc)
{
    return static_cast<BOOL>(Default());
}

void COSMControlComboBoxList::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    COSMBufferDC buffer(paintDC.GetSafeHdc(), client);
    DrawCommandBar(&buffer, client);
}

void COSMControlComboBoxList::DrawCommandBar(CDC* dc, CRect clip)
{
    CRect client;
    GetClientRect(&client);
    COSMPaintManager* paintManager = GetPaintManager();
    dc->FillSolidRect(client, paintManager ? paintManager->GetColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW));
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), 0);
}

LRESULT COSMControlComboBoxList::OnNcPaint(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return result;
    CWindowDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.TopLeft());
    const COLORREF frame = paintManager->GetColor(kFrameColorIndex);
    dc.Draw3dRect(rect, frame, frame);
    rect.DeflateRect(1, 1);
    const COLORREF inner = paintManager->GetColor(COLOR_WINDOW);
    dc.Draw3dRect(rect, inner, inner);
    return result;
}

BOOL COSMControlComboBoxList::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
    {
        OnDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    if (message == WM_MEASUREITEM)
    {
        OnMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return COSMControlComboBoxPopupBar::OnChildNotify(message, wParam, lParam, pResult);
}

void COSMControlComboBoxList::OnDrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (COSMControlComboBox* combo = GetComboBox())
        combo->DrawItem(drawItem);
}

void COSMControlComboBoxList::OnMeasureItem(LPMEASUREITEMSTRUCT measureItem)
{
    if (COSMControlComboBox* combo = GetComboBox())
        combo->MeasureItem(measureItem);
}

// ---- Persistence and copies ----

void COSMControlComboBoxList::DoPropExchange(COSMPropExchange* px)
{
    COSMControlComboBoxPopupBar::DoPropExchange(px);
    if (px->m_nSchema > 23)
    {
        long iconId = m_listIconId;
        PropExchangeLong(px, "ListIconId", &iconId, -1);
        if (px->IsLoading())
            m_listIconId = static_cast<int>(iconId);
    }
    const RefPtr<COSMPropExchange> items = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Items"));
    if (!items)
        return;
    long count = 0;
    if (items->IsLoading())
    {
        CreateListBox();
        PropExchangeLong(items.Get(), "Count", &count, 0);
        for (long i = 0; i < count; ++i)
        {
            CString key;
            key.Format("Item%i", static_cast<int>(i));
            CString text;
            PropExchangeString(items.Get(), key, &text, "");
            SendList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
        }
        return;
    }
    count = m_hWnd ? GetCount() : 0;
    PropExchangeLong(items.Get(), "Count", &count, 0);
    for (long i = 0; i < count; ++i)
    {
        CString key;
        key.Format("Item%i", static_cast<int>(i));
        CString text;
        GetText(static_cast<int>(i), text);
        PropExchangeString(items.Get(), key, &text, "");
    }
}

void COSMControlComboBoxList::Copy(const COSMCommandBar* source, BOOL recursive)
{
    COSMControlComboBoxPopupBar::Copy(source, recursive);
    if (!source || !source->IsKindOf(RUNTIME_CLASS(COSMControlComboBoxList)))
        return;
    const auto* list = static_cast<const COSMControlComboBoxList*>(source);
    m_listIconId = list->m_listIconId;
    CreateListBox();
    const int count = list->GetCount();
    for (int i = 0; i < count; ++i)
    {
        CString text;
        list->GetText(i, text);
        SendList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
    }
}

COSMCommandBar* COSMControlComboBoxList::Clone(BOOL recursive) const
{
    return COSMControlComboBoxPopupBar::Clone(recursive);
}
