#include "framework/controls/ControlGalleryPaintManager.h"

#include "classlib/DC.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"

namespace {

void FillGalleryRect(CDC* dc, const CRect& rect, COLORREF color)
{
    const COLORREF old = ::SetBkColor(dc->m_hDC, color);
    ::ExtTextOutA(dc->m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc->m_hDC, old);
}

void FrameGalleryRect(CDC* dc, const CRect& rect, COLORREF color)
{
    FillGalleryRect(dc, CRect(rect.left, rect.top, rect.right, rect.top + 1), color);
    FillGalleryRect(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), color);
    FillGalleryRect(dc, CRect(rect.left, rect.top, rect.left + 1, rect.bottom), color);
    FillGalleryRect(dc, CRect(rect.right - 1, rect.top, rect.right, rect.bottom), color);
}

}  // namespace

COSMControlGalleryPaintManager::COSMControlGalleryPaintManager(COSMPaintManager* pOwner)
    : COSMScrollBarPaintManager(pOwner)
{
    SetGalleryMetrics();
}

COSMControlGalleryPaintManager::COSMControlGalleryPaintManager(COSMPaintManager* pOwner,
                                                               COSMVisualStyleFunctions& styleFunctions)
    : COSMScrollBarPaintManager(pOwner, styleFunctions)
{
    SetGalleryMetrics();
}

COSMControlGalleryPaintManager::~COSMControlGalleryPaintManager() = default;

void COSMControlGalleryPaintManager::SetGalleryMetrics()
{
    m_upButtonHeight = kUpButtonHeight;
    m_downButtonHeight = kDownButtonHeight;
    m_scrollColumnWidth = kScrollColumnWidth;
}

void COSMControlGalleryPaintManager::RefreshMetrics()
{
    COSMScrollBarPaintManager::RefreshMetrics();
    SetGalleryMetrics();
}

COLORREF COSMControlGalleryPaintManager::GetOwnerColor(int index) const
{
    return m_pOwner ? m_pOwner->GetColor(index) : ::GetSysColor(index);
}

void COSMControlGalleryPaintManager::FillControl(CDC* dc, COSMControlGallery* gallery, CRect rect)
{
    FillGalleryRect(dc, rect, GetOwnerColor(kFillColor));
    if (gallery->IsShowBorders())
        FrameGalleryRect(dc, rect, GetOwnerColor(kFrameColor));
    // The gallery's own separator from the controls under it in a menu.
    if (gallery->HasFollowingControl())
        FillGalleryRect(dc, CRect(rect.left, rect.bottom - 2, rect.right, rect.bottom - 1),
                        GetOwnerColor(kSeparatorColor));
}

void COSMControlGalleryPaintManager::DrawLabel(CDC* dc, COSMControlGalleryItem* item, CRect rect)
{
    FillGalleryRect(dc, rect, GetOwnerColor(kLabelFillColor));
    FillGalleryRect(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), GetOwnerColor(kFrameColor));
    DrawLabelText(dc, item, rect);
}

void COSMControlGalleryPaintManager::DrawLabelText(CDC* dc, COSMControlGalleryItem* item, CRect rect)
{
    HGDIOBJ oldFont = nullptr;
    if (m_pOwner)
        oldFont = ::SelectObject(dc->m_hDC, m_pOwner->GetBoldFont().GetSafeHandle());
    const COLORREF oldColor = ::SetTextColor(dc->m_hDC, GetOwnerColor(kLabelTextColor));
    const int oldMode = ::SetBkMode(dc->m_hDC, TRANSPARENT);
    CRect text = rect;
    text.DeflateRect(kLabelTextMargin, 0);
    const CString caption = item->GetCaption();
    ::DrawTextA(dc->m_hDC, caption, caption.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    ::SetBkMode(dc->m_hDC, oldMode);
    ::SetTextColor(dc->m_hDC, oldColor);
    if (oldFont)
        ::SelectObject(dc->m_hDC, oldFont);
}

void COSMControlGalleryPaintManager::DrawPopupScrollBar(CDC* dc, COSMControlGallery* gallery)
{
    CRect column;
    gallery->GetScrollBarRect(&column);
    if (column.IsRectEmpty())
        return;
    FillGalleryRect(dc, column, GetOwnerColor(kScrollColumnColor));

    int pressed = -1;
    int hot = -1;
    GetPartStates(gallery, &pressed, &hot);
    const BOOL controlEnabled = gallery->GetEnabled() != 0;
    const int upEnd = column.top + m_upButtonHeight;
    const int downEnd = upEnd + m_downButtonHeight;
    const struct
    {
        int part;
        CRect rect;
    } buttons[] = {
        {COSMScrollBase::kHitFirstArrow, CRect(column.left, column.top, column.right, upEnd)},
        {COSMScrollBase::kHitSecondArrow, CRect(column.left, upEnd, column.right, downEnd)},
        {COSMScrollBase::kHitPopup, CRect(column.left, downEnd, column.right, column.bottom)},
    };
    for (const auto& button : buttons)
    {
        const BOOL enabled =
            controlEnabled && (button.part == COSMScrollBase::kHitPopup || gallery->IsScrollButtonEnabled(button.part));
        const BOOL isPressed = enabled && button.part == pressed;
        const BOOL isHot = enabled && button.part == hot;
        const BOOL selected = isHot || isPressed;
        COLORREF glyph = GetOwnerColor(COLOR_BTNTEXT);
        if (m_pOwner)
        {
            m_pOwner->DrawStateRectangle(dc, button.rect, selected, isPressed, enabled, FALSE, FALSE, 1, 5);
            glyph = m_pOwner->GetStateTextColor(selected, isPressed, enabled, FALSE, FALSE, 1, 5);
        }
        const CPoint c = button.rect.CenterPoint();
        switch (button.part)
        {
        case COSMScrollBase::kHitFirstArrow:
            DrawTriangle(dc, CPoint(c.x - 4, c.y + 2), CPoint(c.x + 4, c.y + 2), CPoint(c.x, c.y - 2), glyph);
            break;
        case COSMScrollBase::kHitSecondArrow:
            DrawTriangle(dc, CPoint(c.x - 4, c.y - 2), CPoint(c.x + 4, c.y - 2), CPoint(c.x, c.y + 2), glyph);
            break;
        default:
            DrawTriangle(dc, CPoint(c.x - 4, c.y - 1), CPoint(c.x + 4, c.y - 1), CPoint(c.x, c.y + 3), glyph);
            FillGalleryRect(dc, CRect(c.x - 4, c.y - 4, c.x + 5, c.y - 2), glyph);
            break;
        }
    }
}
