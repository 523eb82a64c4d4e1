#include "framework/foundation/PaintManagerColor.h"

#include "classlib/Archive.h"

// The factor is stored as its 32-bit IEEE pattern, whatever the build.
static_assert(sizeof(float) == sizeof(DWORD), "a gradient factor is stored in four bytes");

void COSMPaintManagerColor::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<DWORD>(m_standard) << static_cast<DWORD>(m_custom);
    }
    else
    {
        DWORD standard = 0, custom = 0;
        ar >> standard >> custom;
        m_standard = standard;
        m_custom = custom;
    }
}

void COSMPaintManagerColorGradient::SetStandardColors(COLORREF first, COLORREF second, float factor)
{
    m_first.SetStandardValue(first);
    m_second.SetStandardValue(second);
    m_factor = factor;
}

void COSMPaintManagerColorGradient::SetStandardColor(COLORREF color)
{
    SetStandardColors(color, color, 0.5f);
}

void COSMPaintManagerColorGradient::SetFromEffective(const COSMPaintManagerColorGradient& other)
{
    SetStandardColors(other.m_first.GetEffective(), other.m_second.GetEffective(), other.m_factor);
}

void COSMPaintManagerColorGradient::Serialize(CArchive& ar)
{
    m_first.Serialize(ar);
    m_second.Serialize(ar);
    if (ar.IsStoring())
        ar << m_factor;
    else
        ar >> m_factor;
}
