// The colour values a painter can override. COSMPaintManagerColor is one colour: the standard value the painter
// computes from the system and the visual style, and an optional custom value set by the application or read back
// from an archive, which wins while it is set. COSMPaintManagerColorGradient pairs two of them with the factor that
// tells a gradient fill where its blend midpoint lies (0.5: halfway).
//
//   m_captionText.SetStandardValue(GetSysColor(COLOR_BTNTEXT));
//   dc.SetTextColor(m_captionText);           // the custom value when set, else the standard one
//   m_toolbar.SetStandardColors(light, dark, 0.75f);
//
// Stored form (the same on 32-bit and 64-bit builds): a colour is its standard and its custom value, two
// little-endian DWORDs (8 bytes); a gradient is its first colour, its second colour and the factor's IEEE bits
// as a DWORD (20 bytes). Loading overwrites both values, so a stored custom colour comes back as an override.
#pragma once

#include <windows.h>

class CArchive;

class COSMPaintManagerColor
{
public:
    // No colour: the value of an unset standard or custom value.
    static constexpr COLORREF kNone = static_cast<COLORREF>(-1);

    COSMPaintManagerColor() = default;
    virtual ~COSMPaintManagerColor() = default;

    COLORREF GetStandardValue() const { return m_standard; }
    void SetStandardValue(COLORREF color) { m_standard = color; }
    COLORREF GetCustomValue() const { return m_custom; }
    void SetCustomValue(COLORREF color) { m_custom = color; }
    BOOL IsCustomValue() const { return m_custom != kNone; }
    // Drops the override: the standard value shows again.
    void ResetCustomValue() { m_custom = kNone; }

    // The custom value while it is set, else the standard value (kNone when neither is).
    COLORREF GetEffective() const { return IsCustomValue() ? m_custom : m_standard; }
    operator COLORREF() const { return GetEffective(); }

    virtual void Serialize(CArchive& ar);

private:
    COLORREF m_standard = kNone;
    COLORREF m_custom = kNone;
};

class COSMPaintManagerColorGradient
{
public:
    COSMPaintManagerColorGradient() = default;
    virtual ~COSMPaintManagerColorGradient() = default;

    // Standard values of both ends and the factor; custom values are kept.
    void SetStandardColors(COLORREF first, COLORREF second, float factor = 0.5f);
    // One standard value for both ends, factor 0.5.
    void SetStandardColor(COLORREF color);
    // The standard value of each end takes the other gradient's effective colour, and its factor is copied; this
    // gradient's custom values are kept.
    void SetFromEffective(const COSMPaintManagerColorGradient& other);

    COSMPaintManagerColor& First() { return m_first; }
    const COSMPaintManagerColor& First() const { return m_first; }
    COSMPaintManagerColor& Second() { return m_second; }
    const COSMPaintManagerColor& Second() const { return m_second; }
    float GetFactor() const { return m_factor; }
    void SetFactor(float factor) { m_factor = factor; }

    virtual void Serialize(CArchive& ar);

private:
    COSMPaintManagerColor m_first;
    COSMPaintManagerColor m_second;
    float m_factor = 0.5f;
};
