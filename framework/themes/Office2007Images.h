// Stand-in: the Office 2007 look's resource images and colours grow here; until they do, every colour and image is
// missing.
#pragma once

#include "classlib/DC.h"
#include "classlib/Geometry.h"

// One resource image, drawn stretched with its edges kept.
class COSMOffice2007Image
{
public:
    // Stretches rcSrc of the image over rcDest, keeping the sizing margins unscaled and leaving clrTransparent out.
    void DrawImage(CDC* pDC, CRect rcDest, CRect rcSrc, CRect rcSizingMargins, COLORREF clrTransparent) {}
    // The source rectangle of the whole image.
    CRect GetSource() const { return CRect(); }
};

// The process-wide Office 2007 resource images and the colours of their INI sections.
class COSMOffice2007Images
{
public:
    static COSMOffice2007Images* Instance()
    {
        static COSMOffice2007Images images;
        return &images;
    }
    // The colour of key lpszKey in section lpszSection, or -1 when missing.
    COLORREF GetImageColor(LPCSTR lpszSection, LPCSTR lpszKey) const { return static_cast<COLORREF>(-1); }
    // The named image, or null when missing.
    COSMOffice2007Image* LoadImage(LPCSTR lpszName) { return nullptr; }
};
