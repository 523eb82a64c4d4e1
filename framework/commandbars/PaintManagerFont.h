// A font the paint manager holds. While its standard flag is 1 the paint manager rebuilds it from the system on
// every refresh; a theme or an application that sets its own font clears the flag, and the font then survives
// refreshes for as long as it holds a handle.
//
//   pm->GetCaptionFont().SetCustomFont(myFont);   // kept from now on
#pragma once

#include "classlib/Gdi.h"

class COSMPaintManagerFont : public CFont
{
public:
    COSMPaintManagerFont() = default;

    BOOL IsStandard() const { return m_standard; }
    void SetStandard(BOOL standard) { m_standard = standard; }

    // Takes ownership of the handle and keeps it across refreshes.
    void SetCustomFont(HFONT font)
    {
        DeleteObject();
        Attach(font);
        m_standard = FALSE;
    }
    // Replaces the font with one built from the LOGFONT; the standard flag stays as it is.
    BOOL SetFontIndirect(const LOGFONTA& logFont)
    {
        DeleteObject();
        return CreateFontIndirect(&logFont);
    }

private:
    BOOL m_standard = TRUE;
};
