// The font the hyperlink and the markup label write with: the paint manager's regular font, else (no paint manager,
// or one whose fonts are not made yet) the stock GUI font. Both are borrowed: never deleted by the caller.
#pragma once

#include "framework/commandbars/Control.h"
#include "framework/commandbars/PaintManager.h"

inline HFONT OsmGetControlTextFont(const COSMControl* control)
{
    COSMPaintManager* paintManager = control->GetPaintManager();
    HFONT font = paintManager ? static_cast<HFONT>(paintManager->GetRegularFont().GetSafeHandle()) : nullptr;
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}
