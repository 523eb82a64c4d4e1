// The toolbar's layouts: floating (caption strip with close and expand buttons), docked (expand button when the
// controls do not fit) and placed directly in a frame (WM_SIZEPARENT).
#include "classlib/DC.h"
#include "classlib/FrameLayout.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>

namespace {

// The caption buttons of a floating bar sit this far in from its top and right edges.
const int kFloatingCaptionInset = 3;

// A memory DC like the screen's: text and parts measure there as in the bar's window, and making one costs no trip to
// the window server (a window's DC does, several under Wine, and a layout measures each bar up to three times).
class ScreenMeasuringDC : public CDC
{
public:
    ScreenMeasuringDC() { CreateCompatibleDC(nullptr); }
};

// The measuring DC with the bar's font selected for as long as a layout measures.
class LayoutDC : public ScreenMeasuringDC
{
public:
    explicit LayoutDC(COSMCommandBar* bar) : m_font(this, BarFont(bar)) {}

private:
    static CFont* BarFont(COSMCommandBar* bar)
    {
        COSMPaintManager* paintManager = bar->GetPaintManager();
        return paintManager ? paintManager->GetCommandBarFont(bar) : nullptr;
    }

    COSMFontDC m_font;
};

}  // namespace

// A measurement's DC, lent to GetBorders for as long as the measurement runs.
class COSMToolBarMeasuringDC : public LayoutDC
{
public:
    explicit COSMToolBarMeasuringDC(COSMToolBar* bar) : LayoutDC(bar), m_bar(bar), m_previous(bar->m_measuringDC)
    {
        bar->m_measuringDC = this;
    }
    ~COSMToolBarMeasuringDC() override { m_bar->m_measuringDC = m_previous; }
    COSMToolBarMeasuringDC(const COSMToolBarMeasuringDC&) = delete;
    COSMToolBarMeasuringDC& operator=(const COSMToolBarMeasuringDC&) = delete;

private:
    COSMToolBar* m_bar;
    CDC* m_previous;
};

namespace {

CRect WindowRectInParent(HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

BOOL ShowExpandButtonAlways(const COSMCommandBar* bar)
{
    const COSMCommandBars* commandBars = bar->GetCommandBars();
    return commandBars ? commandBars->GetCommandBarsOptions()->m_showExpandButtonAlways : TRUE;
}

}  // namespace

COSMControl* COSMToolBar::FindOrCreateCaptionButton(UINT id)
{
    if (COSMControl* control = m_controls->FindControlById(static_cast<int>(id)))
        return control;
    COSMControl* control = nullptr;
    if (id == kCloseButtonId)
    {
        control = new COSMToolBarCloseButton;
    }
    else
    {
        auto* expand = new COSMToolBarExpandButton;
        COSMPopupBar* popup = COSMPopupToolBar::CreatePopupToolBar(GetCommandBars());
        expand->SetCommandBar(popup);
        if (popup)
            popup->InternalRelease();
        control = expand;
    }
    return m_controls->AddControl(control, static_cast<int>(id), nullptr, -1, TRUE);
}

void COSMToolBar::FinishPendingLayout(DWORD mode)
{
    if ((m_stateFlags & kStateLayoutPending) && (mode & LM_COMMIT))
    {
        m_stateFlags &= ~kStateLayoutPending;
        Redraw(nullptr, TRUE);
    }
}

CSize COSMToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcDockingLayout(length, mode, 0);

    COSMToolBarMeasuringDC dc(this);
    COSMPaintManager* paintManager = GetPaintManager();
    const int captionHeight = paintManager ? paintManager->DrawCommandBarGripper(&dc, this, FALSE).cy : 0;
    CRect borders = GetBorders();
    borders.top += 1 + captionHeight;

    COSMControl* close = nullptr;
    if (m_closeable)
    {
        close = FindOrCreateCaptionButton(kCloseButtonId);
        close->SetHideFlags(COSMControl::kHideHidden);
    }
    COSMControl* expand = nullptr;
    if (m_showExpandButton && GetCommandBars())
    {
        expand = FindOrCreateCaptionButton(kExpandButtonId);
        expand->SetHideFlags(COSMControl::kHideHidden);
    }

    CSize size;
    if (m_type == 2)
    {
        UpdateShortcuts();
        size = m_controls->CalcPopupSize(&dc, 0, 0, borders);
    }
    else
    {
        size = m_controls->CalcDynamicSize(&dc, length, mode, borders, 0);
    }

    int right = size.cx - kFloatingCaptionInset;
    if (close)
    {
        close->SetHideFlags(0);
        close->SetRect(
            CRect(right - captionHeight, kFloatingCaptionInset, right, captionHeight + kFloatingCaptionInset));
        right -= captionHeight;
    }
    if (expand && ShowExpandButtonAlways(this) && right - captionHeight > 0)
    {
        expand->SetWrap(TRUE);
        expand->SetHideFlags(0);
        expand->SetRect(
            CRect(right - captionHeight, kFloatingCaptionInset, right, captionHeight + kFloatingCaptionInset));
    }
    FinishPendingLayout(mode);
    return size;
}

COSMToolBarLayoutCache::Inputs COSMToolBar::DockingLayoutInputs(int length, DWORD mode, int minWidth)
{
    COSMToolBarLayoutCache::Inputs inputs;
    inputs.length = length;
    inputs.mode = mode;
    inputs.minWidth = minWidth;
    inputs.barGeneration = GetLayoutGeneration();
    inputs.paintGeneration = COSMPaintManager::GetLayoutGeneration();
    COSMPaintManager* paintManager = GetPaintManager();
    inputs.paintManager = paintManager;
    if (paintManager)
        if (CFont* font = paintManager->GetCommandBarFont(this))
            inputs.font = font->GetSafeHandle();
    if (COSMImageManager* images = GetImageManager())
    {
        inputs.imageManager = images;
        inputs.imageRevision = images->GetRevision();
    }
    inputs.flags = GetFlags();
    inputs.barStyle = GetBarStyle();
    inputs.type = GetType();
    inputs.position = GetPosition();
    inputs.defaultButtonStyle = GetDefaultButtonStyle();
    inputs.mruWidth = GetMRUWidth();
    inputs.iconSize = GetIconSize();
    inputs.buttonSize = GetButtonSize();
    inputs.controlSpacing = GetControlSpacing();
    inputs.textBelowIcons = IsTextBelowIcons();
    inputs.doubleGripper = IsDoubleGripper();
    inputs.showExpandButton = m_showExpandButton;
    inputs.expandButtonAlways = ShowExpandButtonAlways(this);
    const COSMCommandBars* commandBars = GetCommandBars();
    inputs.customizing = commandBars && commandBars->IsCustomizeMode();
    return inputs;
}

void COSMToolBar::RestoreCaptionButtons(const COSMToolBarLayoutCache::Result& result)
{
    if (COSMControl* close = m_controls->FindControlById(static_cast<int>(kCloseButtonId)))
        close->SetHideFlags(COSMControl::kHideHidden);
    if (!result.hasExpandButton)
        return;
    if (COSMControl* expand = m_controls->FindControlById(static_cast<int>(kExpandButtonId)))
    {
        expand->SetHideFlags(result.expandHideFlags);
        expand->SetRect(result.expandRect);
    }
}

CSize COSMToolBar::CalcDockingLayout(int length, DWORD mode, int minWidth)
{
    // A stacked bar changes its controls' styles while it measures, differently for each length: it always measures.
    if (GetFlags() & kFlagStackedLayout)
        return MeasureDockingLayout(length, mode, minWidth);
    // Controls that fill themselves do it before the bar looks at what it remembers: what they add or remove is a
    // change like any other.
    for (int i = m_controls->GetCount() - 1; i >= 0; --i)
        m_controls->GetAt(i)->BuildDynamicItems(mode);

    const BOOL commit = (mode & LM_COMMIT) != 0;
    const COSMToolBarLayoutCache::Inputs inputs = DockingLayoutInputs(length, mode & ~LM_COMMIT, minWidth);
    const MeasuringScope measuring(this);
    // A committed layout only stands when the controls are still where the same layout committed them.
    const COSMToolBarLayoutCache::Result* known = m_layoutCache.Find(inputs);
    if (known && (!commit || m_layoutCache.IsCommitted(inputs)))
    {
        RestoreCaptionButtons(*known);
        FinishPendingLayout(mode);
        return known->size;
    }

    COSMToolBarLayoutCache::Result result;
    result.size = MeasureDockingLayout(length, mode, minWidth);
    if (COSMControl* expand = m_controls->FindControlById(static_cast<int>(kExpandButtonId)))
    {
        result.hasExpandButton = TRUE;
        result.expandHideFlags = expand->GetHideFlags();
        result.expandRect = expand->GetRect();
    }
    m_layoutCache.Store(inputs, result, commit);
    return result.size;
}

CSize COSMToolBar::MeasureDockingLayout(int length, DWORD mode, int minWidth)
{
    COSMToolBarMeasuringDC dc(this);
    CRect borders = GetBorders();
    if (COSMControl* close = m_controls->FindControlById(static_cast<int>(kCloseButtonId)))
        close->SetHideFlags(COSMControl::kHideHidden);

    CSize size;
    if (!m_showExpandButton)
    {
        size = m_controls->CalcDynamicSize(&dc, length, mode, borders, minWidth);
        FinishPendingLayout(mode);
        return size;
    }

    COSMControl* expand = FindOrCreateCaptionButton(kExpandButtonId);
    expand->SetHideFlags(COSMControl::kHideHidden);
    const BOOL alongWidth = (mode & LM_HORZDOCK) != 0;
    BOOL showExpand = FALSE;
    if (!ShowExpandButtonAlways(this))
    {
        size = m_controls->CalcDynamicSize(&dc, length, mode, borders, minWidth);
        if (!(mode & LM_COMMIT))
        {
            // Room for the expand button once the bar is shrunk.
            if (m_controls->GetVisibleCount() > 1)
            {
                const CSize narrowest = m_controls->CalcDynamicSize(&dc, 1, mode, borders, minWidth);
                if (alongWidth)
                    size.cx = std::max(size.cx, narrowest.cx + kExpandButtonSpace);
                else
                    size.cy = std::max(size.cy, narrowest.cy + kExpandButtonSpace);
            }
        }
        else if (HasWrappedControls(this))
        {
            (alongWidth ? borders.right : borders.bottom) += kExpandButtonSpace;
            size = m_controls->CalcDynamicSize(&dc, length, mode, borders, minWidth);
            showExpand = TRUE;
        }
    }
    else
    {
        (alongWidth ? borders.right : borders.bottom) += kExpandButtonSpace;
        size = m_controls->CalcDynamicSize(&dc, length, mode, borders, minWidth);
        showExpand = TRUE;
    }
    if (showExpand)
    {
        expand->SetHideFlags(0);
        if (COSMPaintManager* paintManager = GetPaintManager())
        {
            INT32 barSize[2] = {size.cx, size.cy};
            paintManager->DrawSpecialControl(&dc, 0, expand, this, FALSE, barSize);
        }
    }
    FinishPendingLayout(mode);
    return size;
}

LRESULT COSMToolBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !IsVisible() || m_dockBar)
        return 0;
    DWORD mode = LM_COMMIT | LM_HORZDOCK | LM_HORZ;
    if (m_flags & COSMDockBar::kBarFlagFullRow)
        mode |= LM_STRETCH;
    if (m_flags & COSMDockBar::kBarFlagHideWrap)
        mode |= COSMControls::kLayoutHideWrap;
    if (!layout->hDWP)
        mode &= ~static_cast<DWORD>(LM_COMMIT);
    const CRect available(layout->rect);
    CSize size = CalcDockingLayout(available.Width(), mode);
    size.cx = std::min(size.cx, static_cast<LONG>(available.Width()));
    size.cy = std::min(size.cy, static_cast<LONG>(available.Height()));
    const CRect strip(available.left, available.top, available.left + size.cx, available.top + size.cy);
    layout->rect.top += size.cy;
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    // The frame lays out on every idle update: a bar already in its strip keeps its picture (a layout that changed
    // its controls redraws it through FinishPendingLayout).
    if (!layout->hDWP || strip == WindowRectInParent(m_hWnd))
        return 0;
    AfxRepositionWindow(layout, m_hWnd, &strip);
    Redraw(nullptr, TRUE);
    return 0;
}
