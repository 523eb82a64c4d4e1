#include "framework/tabs/ControlTabWorkspace.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/tabs/TabClientWnd.h"

IMPLEMENT_SERIAL(COSMControlTabWorkspace, COSMControlButton, 1)

void COSMControlTabWorkspaceStrip::RedrawTabs(const CRect* prc, BOOL /*bErase*/)
{
    if (m_pOwner && !m_pOwner->IsLocked())
        m_pControl->RedrawStrip(prc);
}

int COSMControlTabWorkspaceStrip::GetPosition() const
{
    COSMCommandBar* pBar = m_pControl->GetParent();
    return COSMControlTabWorkspace::MapBarPosition(pBar ? pBar->GetPosition() : 0);
}

void COSMControlTabWorkspaceStrip::OnStripRectChanged()
{
    m_pControl->OnStripChanged();
}

COSMControlTabWorkspace::COSMControlTabWorkspace()
{
    m_width = kDefaultWidth;
    m_flags = kWorkspaceControlFlags;
}

COSMControlTabWorkspace::~COSMControlTabWorkspace()
{
    if (COSMTabClientWnd* pClient = m_strip.GetOwner())
        pClient->OnSingleStripRemoved(&m_strip);
}

int COSMControlTabWorkspace::MapBarPosition(int nBarPosition)
{
    switch (nBarPosition)
    {
    case 1:
        return 2;
    case 2:
        return 1;
    case 3:
        return 3;
    default:
        return 0;
    }
}

void COSMControlTabWorkspace::AttachToClient(COSMTabClientWnd* pClient)
{
    if (pClient)
        pClient->SetSingleStrip(&m_strip);
}

HWND COSMControlTabWorkspace::GetBarWindow() const
{
    return m_parent ? m_parent->GetSafeHwnd() : nullptr;
}

void COSMControlTabWorkspace::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControlButton::Copy(source, recursive);
    m_width = source->GetWidth();
}

COSMControl* COSMControlTabWorkspace::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControl*>(GetRuntimeClass()->CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMControlTabWorkspace::SetRect(const CRect& rect)
{
    if (rect == m_rect && !m_bRectChanged)
        return;
    COSMControlButton::SetRect(rect);
    m_bRectChanged = FALSE;
    COSMTabPaintManager* pPaintManager = m_strip.GetPaintManager();
    HWND hWndBar = GetBarWindow();
    if (!pPaintManager || !hWndBar)
        return;
    m_strip.SetWindow(hWndBar);
    CClientDC dc(CWnd::FromHandle(hWndBar));
    pPaintManager->RepositionTabControl(&m_strip, &dc, m_rect);
}

void COSMControlTabWorkspace::Draw(CDC* dc)
{
    if (COSMTabPaintManager* pPaintManager = m_strip.GetPaintManager())
        pPaintManager->DrawTabControl(&m_strip, dc, m_rect);
    else
        COSMControlButton::Draw(dc);
}

CSize COSMControlTabWorkspace::GetSize(CDC* dc)
{
    COSMTabPaintManager* pPaintManager = m_strip.GetPaintManager();
    if (!pPaintManager)
        return COSMControlButton::GetSize(dc);
    const int nHeight =
        pPaintManager->GetAppearanceSet()->GetHeaderHeight(&m_strip) + (pPaintManager->m_bStaticFrame ? 2 : 0);
    const int nBarPosition = m_parent ? m_parent->GetPosition() : 0;
    if (nBarPosition == 2 || nBarPosition == 3 || nBarPosition == 5)
        return CSize(nHeight, m_width);
    return CSize(m_width, nHeight);
}

void COSMControlTabWorkspace::OnClick(BOOL keyboard, CPoint point)
{
    if (m_strip.GetOwner() && GetBarWindow())
        m_strip.OnMouseDown(GetBarWindow(), point, FALSE);
    else
        COSMControlButton::OnClick(keyboard, point);
}

void COSMControlTabWorkspace::OnMouseMove(CPoint point)
{
    if (m_strip.GetOwner() && GetBarWindow())
        m_strip.OnMouseMove(GetBarWindow(), point);
    else
        COSMControlButton::OnMouseMove(point);
}

INT_PTR COSMControlTabWorkspace::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    COSMTabPaintManager* pPaintManager = m_strip.GetPaintManager();
    if (!pPaintManager || pPaintManager->m_nToolTipBehaviour == 0)
        return -1;
    COSMTabManagerItem* pItem = m_strip.HitTest(point);
    if (!pItem)
        return -1;
    // Mode 2 tells only what a cut caption hides.
    if (pPaintManager->m_nToolTipBehaviour == 2 && pItem->GetContentLength() <= pItem->GetLength())
        return -1;
    const CString strTip = m_strip.GetItemTooltip(pItem);
    if (strTip.IsEmpty())
        return -1;
    COSMToolTipContext::FillToolInfo(info, GetBarWindow(), pItem->GetRect(), pItem->GetIndex(), strTip);
    return pItem->GetIndex();
}

void COSMControlTabWorkspace::OnRemoved()
{
    COSMControlButton::OnRemoved();
    if (COSMTabClientWnd* pClient = m_strip.GetOwner())
        pClient->OnSingleStripRemoved(&m_strip);
}

void COSMControlTabWorkspace::OnStripChanged()
{
    m_bRectChanged = TRUE;
    if (!m_parent)
        return;
    m_parent->OnRecalcLayout();
    // The bar may keep the control's rectangle: the strip is laid out in it again all the same.
    if (m_bRectChanged && !m_rect.IsRectEmpty())
        SetRect(m_rect);
    RedrawStrip(nullptr);
}

void COSMControlTabWorkspace::RedrawStrip(const CRect* prc)
{
    if (m_parent && m_parent->GetSafeHwnd())
        m_parent->Redraw(prc ? prc : &m_rect, FALSE);
}
