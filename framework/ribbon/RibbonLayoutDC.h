#pragma once

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"

// What the ribbon and its popups measure with: a DC of the bar's window (the screen's before it has one) with the
// bar's font selected, so sizes come out as the bar will draw them.
class COSMRibbonLayoutDC : public CClientDC
{
public:
    explicit COSMRibbonLayoutDC(COSMCommandBar* bar)
        : CClientDC(bar->GetSafeHwnd() ? bar : nullptr), m_font(this, Font(bar))
    {}

private:
    static CFont* Font(COSMCommandBar* bar)
    {
        COSMPaintManager* paintManager = bar->GetPaintManager();
        return paintManager ? paintManager->GetCommandBarFont(bar) : nullptr;
    }
    COSMFontDC m_font;
};
