// The manager's keyboard aids: the underlines that follow the keyboard, and the keyboard tips of one bar at a time.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/KeyboardTipLayout.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/commandbars/PaintManager.h"

#include <vector>

namespace {

// Shown without moving, sizing, reordering or activating: the tips were placed when they were made.
const UINT kShowTipFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

// The topmost popup the mouse manager tracks; null when none does.
COSMCommandBar* TopTrackedPopup(COSMMouseManager* mouse)
{
    for (int i = mouse->GetTrackedCount() - 1; i >= 0; --i)
    {
        COSMCommandBar* bar = mouse->GetTrackedAt(i);
        if (bar && bar->IsPopupBar())
            return bar;
    }
    return nullptr;
}

}  // namespace

void COSMCommandBars::ShowKeyboardCues(BOOL show)
{
    if (m_customizeMode)
        show = TRUE;
    if (!m_keyboardCuesInUse || m_keyboardCuesShown == show)
        return;
    m_keyboardCuesShown = show;
    RedrawCommandBars();
}

void COSMCommandBars::ResetKeyboardState(COSMCommandBar* bar, int mode)
{
    COSMMouseManager* mouse = GetMouseManager();
    if (mode == 0 && m_keyboardCuesInUse && !TopTrackedPopup(mouse))
        ShowKeyboardCues(FALSE);
    if (m_keyboardTipsLevel > 0 && m_options->m_keyboardTips)
    {
        HideKeyboardTips();
        // A popup the keyboard opened shows tips of its own once it is up.
        COSMCommandBar* popup = TopTrackedPopup(mouse);
        if (popup && popup->IsSelectedByKeyboard() && popup->GetSafeHwnd())
            popup->PostMessage(WM_TIMER, COSMCommandBar::kTimerKeyboardTips, 0);
    }
    m_toolTipContext->DeactivateToolTip();
}

void COSMCommandBars::AddKeyboardTip(COSMCommandBarKeyboardTip* tip)
{
    std::unique_ptr<COSMCommandBarKeyboardTip> owned(tip);
    if (owned)
        m_keyboardTips.push_back(std::move(owned));
}

void COSMCommandBars::HideKeyboardTips()
{
    if (m_keyboardTips.empty())
        return;
    // Destroying a window may send messages that look at the array: empty it first.
    std::vector<std::unique_ptr<COSMCommandBarKeyboardTip>> tips;
    tips.swap(m_keyboardTips);
    tips.clear();
    m_keyboardTipsBar = nullptr;
    m_keyboardTipsLevel = 0;
    m_typedPrefixLength = 0;
}

void COSMCommandBars::ShowKeyboardTips(COSMCommandBar* bar, int level)
{
    HideKeyboardTips();
    if (!m_options->m_keyboardTips || !bar || !bar->GetSafeHwnd())
        return;
    m_toolTipContext->DeactivateToolTip();
    bar->UpdateWindow();
    m_keyboardTipsBar = bar;
    m_keyboardTipsLevel = level;
    m_typedPrefixLength = 0;

    bar->CreateKeyboardTips();
    if (m_keyboardTips.empty())
    {
        m_keyboardTipsBar = nullptr;
        return;
    }

    // Texts: a tip whose text came with it keeps it; one with nothing to show goes.
    std::vector<COSMKeyboardTipSource> sources;
    sources.reserve(m_keyboardTips.size());
    for (const auto& tip : m_keyboardTips)
        sources.push_back({tip->GetCaption(), tip->GetText().IsEmpty() ? tip->GetExplicitTip() : tip->GetText()});
    const std::vector<CString> texts = MakeKeyboardTipTexts(sources);
    for (size_t i = texts.size(); i-- > 0;)
    {
        if (texts[i].IsEmpty())
            m_keyboardTips.erase(m_keyboardTips.begin() + static_cast<std::ptrdiff_t>(i));
        else
            m_keyboardTips[i]->SetText(texts[i]);
    }

    // Measured in the font the paint manager draws them with.
    COSMPaintManager* paintManager = GetPaintManager();
    CClientDC dc(bar);
    CFont* oldFont = paintManager ? dc.SelectObject(&paintManager->GetKeyboardTipFont()) : nullptr;
    const BOOL rightToLeft = IsLayoutRTL();
    for (const auto& tip : m_keyboardTips)
    {
        if (!tip->IsTipVisible())
            continue;
        const CString& text = tip->GetText();
        SIZE textSize = {0, 0};
        ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, text.GetLength(), &textSize);
        CPoint anchor = tip->GetAnchor();
        // A control's anchor lies in the bar's client area; a bar's is on the screen already.
        if (!tip->GetOwner() || !tip->GetOwner()->IsKindOf(RUNTIME_CLASS(COSMCommandBar)))
            bar->ClientToScreen(&anchor);
        const CRect rect = PlaceKeyboardTip(textSize, anchor, tip->GetAlignment(), rightToLeft);
        tip->CreateTipWindow(bar, rect, !tip->IsEnabled());
    }
    if (oldFont)
        dc.SelectObject(oldFont);

    for (const auto& tip : m_keyboardTips)
    {
        if (tip->IsTipVisible() && tip->GetSafeHwnd())
            ::SetWindowPos(tip->GetSafeHwnd(), nullptr, 0, 0, 0, 0, kShowTipFlags);
    }
}

void COSMCommandBars::NarrowKeyboardTips(const COSMCommandBarKeyboardTip* match)
{
    ++m_typedPrefixLength;
    const CString prefix = match->GetText().Left(m_typedPrefixLength);
    for (size_t i = m_keyboardTips.size(); i-- > 0;)
    {
        if (m_keyboardTips[i]->GetText().Left(m_typedPrefixLength) != prefix)
            m_keyboardTips.erase(m_keyboardTips.begin() + static_cast<std::ptrdiff_t>(i));
    }
}
