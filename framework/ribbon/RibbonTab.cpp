// The ribbon's tabs, their context headers and the tab strip control.
#include "framework/ribbon/RibbonTab.h"

#include "classlib/Archive.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PropExchange.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/tabs/TabPaintManager.h"

#include <memory>

IMPLEMENT_SERIAL(COSMRibbonTab, COSMTabManagerItem, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonControlTab, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kTabControlFlags = 16;
// Accessibility roles and states the strip answers with.
constexpr long kRolePageTab = 37;
constexpr long kRolePageTabList = 60;
constexpr long kStateSelectedFocused = 0x6;
constexpr long kStateInvisible = 0x8000;
constexpr long kStateFocusable = 0x100000;
constexpr long kStateSelectable = 0x200000;

CString WithoutAccessMarks(CString text)
{
    text.Remove('&');
    return text;
}

}  // namespace

// ---- COSMRibbonTab ----

COSMRibbonTab::COSMRibbonTab() : m_groups(std::make_unique<COSMRibbonGroups>(this)) {}

COSMRibbonTab::~COSMRibbonTab() = default;

void COSMRibbonTab::SetRibbonBar(COSMRibbonBar* bar)
{
    m_ribbonBar = bar;
    m_parentBar = bar;
}

void COSMRibbonTab::SetContextColor(int color, LPCSTR caption)
{
    m_contextColor = color;
    if (caption)
        m_contextCaption = caption;
}

COSMRibbonGroup* COSMRibbonTab::FindGroup(int id) const
{
    for (int i = 0; i < m_groups->GetCount(); ++i)
        if (m_groups->GetAt(i)->GetID() == id)
            return m_groups->GetAt(i);
    return nullptr;
}

void COSMRibbonTab::SetVisible(BOOL visible)
{
    if (!visible == !IsVisible())
        return;
    COSMTabManagerItem::SetVisible(visible);
    COSMTabManager* manager = GetTabManager();
    if (visible || !manager || manager->GetSelectedItem() != this)
        return;
    // Another tab takes the selection; with none left the strip selects nothing.
    COSMTabManagerItem* next = manager->FindNextVisibleItem(-1, +1);
    manager->SetSelectedItem(next);
}

void COSMRibbonTab::OnRemoved()
{
    m_groups->RemoveAll();
    // A selection that names the tab would outlive the bar it redraws.
    COSMCommandBars* commandBars = m_ribbonBar ? m_ribbonBar->GetCommandBars() : nullptr;
    if (commandBars && commandBars->GetCustomizeSelectionTarget() == this)
        commandBars->SetCustomizeSelection(nullptr);
    COSMTabManagerItem::OnRemoved();
}

void COSMRibbonTab::Copy(const COSMRibbonTab* source)
{
    if (!source)
        return;
    SetCaption(source->GetCaptionText());
    m_contextColor = source->m_contextColor;
    m_contextCaption = source->m_contextCaption;
    m_id = source->m_id;
    SetVisible(source->IsVisible());
    SetTooltip(source->GetTooltipText());
    const COSMTabManager* sourceManager = source->GetTabManager();
    if (GetTabManager() && sourceManager && sourceManager->GetSelectedItem() == source)
        Select();
    m_groups->Copy(source->m_groups.get());
}

void COSMRibbonTab::DoPropExchange(COSMPropExchange* px)
{
    if (px->IsLoading())
    {
        if (auto* control = static_cast<COSMRibbonControlTab*>(px->m_pOwner))
        {
            if (COSMRibbonBar* bar = control->GetRibbonBar())
                SetRibbonBar(bar);
            if (!GetTabManager())
                SetTabManager(control);
        }
    }
    CString caption = GetCaptionText();
    CString tooltip = GetTooltipText();
    long contextColor = m_contextColor;
    long id = m_id;
    BOOL visible = IsVisible();
    const COSMTabManager* manager = GetTabManager();
    BOOL selected = manager && manager->GetSelectedItem() == this;
    PropExchangeString(px, "Caption", &caption, "");
    PropExchangeString(px, "ToolTip", &tooltip, "");
    PropExchangeLong(px, "ContextColor", &contextColor, 0);
    PropExchangeString(px, "ContextCaption", &m_contextCaption, "");
    PropExchangeLong(px, "Id", &id, 0);
    PropExchangeBool(px, "Visible", &visible, TRUE);
    PropExchangeBool(px, "Selected", &selected, FALSE);
    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Groups"));
        m_groups->DoPropExchange(section.Get());
    }
    if (px->IsLoading())
    {
        SetCaption(caption);
        SetTooltip(tooltip);
        m_contextColor = static_cast<int>(contextColor);
        m_id = static_cast<int>(id);
        SetVisible(visible);
        if (selected)
            Select();
    }
}

BOOL COSMRibbonTab::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nCode == -2 && nID == 1)
    {
        if (m_ribbonBar)
            m_ribbonBar->Redraw(nullptr, FALSE);
        return TRUE;
    }
    return COSMTabManagerItem::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Context headers ----

COSMRibbonContextHeader::COSMRibbonContextHeader(COSMRibbonTab* tab)
    : m_firstTab(tab), m_lastTab(tab), m_caption(tab->GetContextCaption()), m_color(tab->GetContextColor())
{
    tab->SetContextHeader(this);
}

void COSMRibbonContextHeaders::RemoveAll()
{
    for (COSMRibbonContextHeader* header : m_headers)
        delete header;
    m_headers.clear();
}

COSMRibbonContextHeader* COSMRibbonContextHeaders::HitTest(CPoint point) const
{
    for (COSMRibbonContextHeader* header : m_headers)
        if (header->m_rect.PtInRect(point))
            return header;
    return nullptr;
}

// ---- The tab strip ----

COSMRibbonControlTab::COSMRibbonControlTab()
{
    m_bAllowReorder = FALSE;
    m_temporary = TRUE;
    m_flags = kTabControlFlags;
}

COSMRibbonControlTab::~COSMRibbonControlTab()
{
    DeleteAllItems();
}

COSMRibbonBar* COSMRibbonControlTab::GetRibbonBar() const
{
    return dynamic_cast<COSMRibbonBar*>(m_parent);
}

COSMRibbonTab* COSMRibbonControlTab::GetItem(int index) const
{
    return static_cast<COSMRibbonTab*>(COSMTabManager::GetItem(index));
}

void COSMRibbonControlTab::SelectTab(BOOL keyboard)
{
    COSMRibbonBar* bar = GetRibbonBar();
    if (!bar || !GetSelectedItem() || !bar->IsRibbonMinimized())
        return;
    if (bar->GetPopupedIndex() == GetIndex())
    {
        bar->ForgetPopuped();
        if (m_commandBar)
            m_commandBar->SetTrackingMode(FALSE, TRUE, FALSE);
    }
    bar->SetTrackingMode(TRUE, FALSE, FALSE);
    bar->SetPopuped(GetIndex(), keyboard);
}

void COSMRibbonControlTab::SetFocused(BOOL focused)
{
    if (!focused == !m_focused)
        return;
    m_focused = focused;
    if (focused && !GetSelectedItem())
        SetSelectedItem(FindNextVisibleItem(-1, +1));
    RedrawParent(FALSE);
}

int COSMRibbonControlTab::OnHookKeyDown(UINT key, LPARAM /*lParam*/)
{
    COSMRibbonBar* bar = GetRibbonBar();
    if (!m_focused || !bar)
        return 0;
    KeyToLayout(bar, key);
    COSMCommandBars* commandBars = bar->GetCommandBars();
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && commandBars)
        commandBars->HideKeyboardTips();
    switch (key)
    {
    case VK_LEFT:
    case VK_RIGHT:
        if (!FindNextVisibleItem(GetCurSel(), key == VK_LEFT ? -1 : +1))
            return 0;
        return PerformKeyDown(bar->GetSafeHwnd(), key) ? 1 : 0;
    case VK_DOWN:
    {
        const int next = bar->GetControls()->GetNext(GetIndex(), +1);
        if (next != -1 && next != GetIndex())
            bar->SetSelected(next, COSMCommandBar::kSelectForward);
        return 1;
    }
    case VK_RETURN:
        SelectTab(TRUE);
        return 1;
    case VK_SPACE:
        if (!bar->IsRibbonMinimized())
            return 0;
        SelectTab(TRUE);
        return 1;
    default:
        return 0;
    }
}

BOOL COSMRibbonControlTab::OnSetPopup(BOOL popup)
{
    m_popped = popup;
    COSMRibbonBar* bar = GetRibbonBar();
    if (!popup)
    {
        if (m_commandBar)
            m_commandBar->SetTrackingMode(FALSE, TRUE, FALSE);
        RedrawParent(FALSE);
        return TRUE;
    }
    auto* tab = static_cast<COSMRibbonTab*>(GetSelectedItem());
    if (!tab || !bar || !bar->IsRibbonMinimized())
    {
        m_popped = FALSE;
        return FALSE;
    }
    const RefPtr<COSMRibbonTabPopupToolBar> popupBar =
        RefPtr<COSMRibbonTabPopupToolBar>::Adopt(new COSMRibbonTabPopupToolBar(tab));
    popupBar->SetCommandBars(bar->GetCommandBars());
    if (!popupBar->IsDialogBar())
        popupBar->SetCustomizable(FALSE);
    SetCommandBar(popupBar.Get());
    if (!popupBar->Popup(this, m_selected == 2 || m_selected == 3))
    {
        m_popped = FALSE;
        return FALSE;
    }
    RedrawParent(FALSE);
    return TRUE;
}

BOOL COSMRibbonControlTab::SetSelected(int selected)
{
    if (selected == m_selected)
        return FALSE;
    COSMRibbonBar* bar = GetRibbonBar();
    const BOOL keyboard = selected == 2 || selected == 3;
    if (keyboard && bar && !bar->IsRibbonMinimized() && bar->GetPopupedIndex() != -1)
        bar->SetPopuped(-1);
    m_selected = selected;
    if (bar)
        bar->UpdateStatusText(selected != 0, this);
    if (keyboard)
        SetFocused(TRUE);
    if (selected != 0 && bar && bar->GetSafeHwnd())
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, bar->GetSafeHwnd(), static_cast<LONG>(GetID()), GetCurSel() + 1);
    if (selected == 0)
    {
        SetFocused(FALSE);
        m_pHighlighted = nullptr;
    }
    return TRUE;
}

void COSMRibbonControlTab::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControlPopup::Copy(source, recursive);
    const auto* strip = dynamic_cast<const COSMRibbonControlTab*>(source);
    if (!strip)
        return;
    DeleteAllItems();
    COSMRibbonBar* bar = GetRibbonBar();
    for (int i = 0; i < strip->GetItemCount(); ++i)
    {
        const COSMRibbonTab* sourceTab = strip->GetItem(i);
        auto* tab = dynamic_cast<COSMRibbonTab*>(sourceTab->GetRuntimeClass()->CreateObject());
        if (!tab)
            continue;
        tab->SetRibbonBar(bar);
        InsertItem(i, tab);
        tab->Copy(sourceTab);
    }
}

COSMControl* COSMRibbonControlTab::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMRibbonControlTab*>(GetRuntimeClass()->CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMRibbonControlTab::AdjustExcludeRect(CRect& rect, BOOL /*vertical*/)
{
    rect.bottom -= 1;
}

void COSMRibbonControlTab::DoPropExchange(COSMPropExchange* px)
{
    std::unique_ptr<COSMPropExchangeEnumerator> tabs(px->GetEnumerator("Tab"));
    if (px->IsStoring())
    {
        POSITION pos = tabs->GetPosition(static_cast<DWORD>(GetItemCount()));
        for (int i = 0; pos; ++i)
        {
            const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(tabs->GetNext(pos));
            CObject* tab = GetItem(i);
            section->ExchangeObjectInstance(&tab, RUNTIME_CLASS(COSMRibbonTab));
            GetItem(i)->DoPropExchange(section.Get());
        }
        return;
    }
    DeleteAllItems();
    POSITION pos = tabs->GetPosition();
    while (pos)
    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(tabs->GetNext(pos));
        section->m_pOwner = this;
        CObject* object = nullptr;
        section->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMRibbonTab));
        auto* tab = dynamic_cast<COSMRibbonTab*>(object);
        if (!tab)
        {
            delete object;
            AfxThrowArchiveException(CArchiveException::badClass, nullptr);
        }
        // In the strip first, so that a tab saved as selected is selected as it loads.
        tab->SetRibbonBar(GetRibbonBar());
        InsertItem(-1, tab);
        tab->DoPropExchange(section.Get());
    }
}

// ---- The tab manager part ----

void COSMRibbonControlTab::RequestLayout()
{
    COSMRibbonBar* bar = GetRibbonBar();
    if (bar && bar->GetSafeHwnd())
        bar->OnRecalcLayout();
}

CString COSMRibbonControlTab::GetItemTooltip(const COSMTabManagerItem* pItem) const
{
    return pItem->GetTooltipText().IsEmpty() ? pItem->GetCaption() : pItem->GetTooltipText();
}

void COSMRibbonControlTab::SetSelectedItem(COSMTabManagerItem* pItem)
{
    COSMRibbonBar* bar = GetRibbonBar();
    if (!bar || !bar->GetSafeHwnd())
    {
        COSMTabManager::SetSelectedItem(pItem);
        if (bar)
            bar->OnTabChanged(static_cast<COSMRibbonTab*>(m_pSelected));
        return;
    }
    COSMCommandBars* commandBars = bar->GetCommandBars();
    if (!HasFocus() && pItem && !bar->IsRibbonMinimized() && commandBars)
        commandBars->ClosePopups();
    if (pItem == m_pSelected)
        return;
    if (commandBars && commandBars->GetKeyboardTipsLevel() > 1)
        commandBars->HideKeyboardTips();
    auto* tab = static_cast<COSMRibbonTab*>(pItem);
    if (bar->NotifyTabChanging(tab) != 0)
        return;
    bar->LockRedraw();
    bar->OnTabChanged(tab);
    COSMTabManager::SetSelectedItem(pItem);
    bar->OnIdleUpdateCmdUI(0, FALSE);
    bar->UnlockRedraw();
    if (bar->GetRedrawLockCount() == 0 && (bar->GetStateFlags() & COSMCommandBar::kStateRedrawPending))
        bar->Redraw(nullptr, TRUE);
    bar->NotifyTabChanged(tab);
    NotifySite(kNotifyExecute);
    if (pItem)
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, bar->GetSafeHwnd(), static_cast<LONG>(GetID()),
                                 pItem->GetIndex() + 1);
}

COSMTabPaintManager* COSMRibbonControlTab::GetPaintManager() const
{
    COSMRibbonBar* bar = GetRibbonBar();
    return bar ? bar->GetTabPaintManager() : nullptr;
}

void COSMRibbonControlTab::RedrawTabs(const CRect* prc, BOOL bErase)
{
    if (COSMRibbonBar* bar = GetRibbonBar())
        bar->Redraw(prc, bErase);
}

BOOL COSMRibbonControlTab::DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* pItem, BOOL bDraw, CSize& szIcon)
{
    COSMTabPaintManager* paintManager = GetPaintManager();
    if (!pItem)
        return paintManager && paintManager->m_bShowIcons;
    if (pItem->GetImageIndex() == -1 || !paintManager || !paintManager->m_bShowIcons)
        return FALSE;
    COSMImageManager* images = GetImageManager();
    COSMImageManagerIcon* icon =
        images ? images->GetImage(static_cast<UINT>(pItem->GetImageIndex()), szIcon.cx) : nullptr;
    if (!icon)
        return FALSE;
    if (bDraw)
        pItem->DrawImage(pDC, CRect(pt.x, pt.y, pt.x + szIcon.cx, pt.y + szIcon.cy), icon);
    return TRUE;
}

void COSMRibbonControlTab::OnItemClick(COSMTabManagerItem* pItem)
{
    // In customize mode a clicked tab is what the user customizes next (and it is selected as ever).
    COSMRibbonBar* bar = GetRibbonBar();
    if (bar && bar->IsCustomizable() && bar->IsCustomizeMode())
        if (COSMCommandBars* commandBars = bar->GetCommandBars())
            commandBars->SetCustomizeSelection(pItem);
    COSMTabManager::OnItemClick(pItem);
}

BOOL COSMRibbonControlTab::IsMouseLocked() const
{
    COSMMouseManager* mouseManager = GetRibbonBar() ? GetRibbonBar()->GetMouseManager() : nullptr;
    return mouseManager && mouseManager->GetTrackedCount() > 0;
}

BOOL COSMRibbonControlTab::HasFocus() const
{
    COSMRibbonBar* bar = GetRibbonBar();
    return m_focused && bar && bar->GetTrackingMode() != 0;
}

// ---- Screen readers ----

COSMRibbonTab* COSMRibbonControlTab::GetAccessibleTab(long childId) const
{
    return childId >= 1 ? GetItem(static_cast<int>(childId - 1)) : nullptr;
}

HRESULT COSMRibbonControlTab::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT COSMRibbonControlTab::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    const long child = GetChildIdFromVariant(&varChild);
    if (child < 0 || child > GetItemCount())
        return E_INVALIDARG;
    return S_FALSE;
}

HRESULT COSMRibbonControlTab::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == 0)
        return COSMControlPopup::GetAccessibleName(varChild, pszName);
    COSMRibbonTab* tab = GetAccessibleTab(child);
    if (!tab)
        return E_INVALIDARG;
    return SetAccessibleText(pszName, WithoutAccessMarks(tab->GetCaption()));
}

HRESULT COSMRibbonControlTab::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child != 0 && !GetAccessibleTab(child))
        return E_INVALIDARG;
    SetAccessibleLong(pvarRole, child == 0 ? kRolePageTabList : kRolePageTab);
    return S_OK;
}

HRESULT COSMRibbonControlTab::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == 0)
    {
        COSMRibbonBar* bar = GetRibbonBar();
        long state = kStateFocusable;
        if (!(bar && bar->IsVisible() && IsVisible()))
            state |= kStateInvisible;
        SetAccessibleLong(pvarState, state);
        return S_OK;
    }
    COSMRibbonTab* tab = GetAccessibleTab(child);
    if (!tab)
        return E_INVALIDARG;
    long state = kStateFocusable | kStateSelectable;
    if (tab == GetSelectedItem())
        state |= kStateSelectedFocused;
    if (!tab->IsVisible())
        state |= kStateInvisible;
    SetAccessibleLong(pvarState, state);
    return S_OK;
}

HRESULT COSMRibbonControlTab::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == 0)
        return COSMControlPopup::GetAccessibleDefaultAction(varChild, pszDefaultAction);
    if (!GetAccessibleTab(child))
        return E_INVALIDARG;
    return SetAccessibleText(pszDefaultAction, "Switch");
}

HRESULT COSMRibbonControlTab::AccessibleSelect(long flagsSelect, VARIANT varChild)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == 0)
        return COSMControlPopup::AccessibleSelect(flagsSelect, varChild);
    COSMRibbonTab* tab = GetAccessibleTab(child);
    if (!tab)
        return E_INVALIDARG;
    tab->Select();
    return S_OK;
}

HRESULT COSMRibbonControlTab::AccessibleDoDefaultAction(VARIANT varChild)
{
    const long child = GetChildIdFromVariant(&varChild);
    if (child == 0)
        return COSMControlPopup::AccessibleDoDefaultAction(varChild);
    if (!GetAccessibleTab(child))
        return E_INVALIDARG;
    SetCurSel(static_cast<int>(child - 1));
    return S_OK;
}

HRESULT COSMRibbonControlTab::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                                 VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    const long child = GetChildIdFromVariant(&varChild);
    if (child != 0 && !GetAccessibleTab(child))
        return E_INVALIDARG;
    COSMRibbonBar* bar = GetRibbonBar();
    if (!bar || !bar->GetSafeHwnd() || !IsVisible())
        return S_OK;
    CRect rect = child == 0 ? GetRect() : GetAccessibleTab(child)->GetRect();
    bar->ClientToScreen(&rect);
    *pxLeft = rect.left;
    *pyTop = rect.top;
    *pcxWidth = rect.Width();
    *pcyHeight = rect.Height();
    return S_OK;
}

HRESULT COSMRibbonControlTab::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    ::VariantInit(pvarChild);
    COSMRibbonBar* bar = GetRibbonBar();
    if (!bar || !bar->GetSafeHwnd())
        return S_FALSE;
    CRect window;
    bar->GetWindowRect(&window);
    CPoint point(xLeft, yTop);
    if (!window.PtInRect(point))
        return S_FALSE;
    bar->ScreenToClient(&point);
    if (!GetRect().PtInRect(point))
        return S_FALSE;
    COSMTabManagerItem* tab = HitTest(point);
    pvarChild->vt = VT_I4;
    pvarChild->lVal = tab ? tab->GetIndex() + 1 : CHILDID_SELF;
    return S_OK;
}
