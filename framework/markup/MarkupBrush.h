// Markup brushes: how an area, a border, a stroke or text is coloured. COSMMarkupSolidColorBrush paints one colour,
// COSMMarkupLinearGradientBrush a gradient between two points through its stops. Markup gives a brush-typed property
// either colour text (Background="Red" becomes a solid brush) or a brush element:
//
//   <LinearGradientBrush StartPoint="0,0" EndPoint="1,0">
//     <GradientStop Color="White" Offset="0"/> <GradientStop Color="Navy" Offset="1"/>
//   </LinearGradientBrush>
//
// The renderers read them; GetRepresentativeColor gives the one colour that stands for a brush where only one fits.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupColor;
class COSMMarkupGradientStops;

class COSMMarkupBrush : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupBrush)

public:
    COSMMarkupBrush() = default;

    // Colour text ("#RRGGBB", "#AARRGGBB" or a colour name) gives a new solid brush of that colour and alpha.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    // ---- Override these (after the object's operations) -----------------------------------------------------
    // The brush's colour as a COLORREF without alpha; 0 here.
    virtual COLORREF GetRepresentativeColor() const;
};

class COSMMarkupSolidColorBrush : public COSMMarkupBrush
{
    DECLARE_MARKUP_TYPE(COSMMarkupSolidColorBrush)

public:
    // No Color.
    COSMMarkupSolidColorBrush() = default;
    // Opaque rgb.
    explicit COSMMarkupSolidColorBrush(COLORREF rgb);
    COSMMarkupSolidColorBrush(BYTE alpha, COLORREF rgb);

    // Another solid brush of the same representative colour (alpha is not compared).
    BOOL IsEqual(const COSMMarkupObject* other) const override;
    // The colour's low 24 bits; 0 while Color is unset.
    COLORREF GetRepresentativeColor() const override;

    // The Color value (borrowed), or null.
    COSMMarkupColor* GetColor() const;

    static COSMMarkupDependencyProperty* s_pColorProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupLinearGradientBrush : public COSMMarkupBrush
{
    DECLARE_MARKUP_TYPE(COSMMarkupLinearGradientBrush)

public:
    // Starts with an empty stop collection; the points are unset until markup gives them.
    COSMMarkupLinearGradientBrush();

    // Elements written inside the brush go to its stop collection (which keeps their order); without one the brush
    // takes no content.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    // The first stop's colour without alpha; 0 without stops.
    COLORREF GetRepresentativeColor() const override;

    // The GradientStops value (borrowed), or null.
    COSMMarkupGradientStops* GetGradientStops() const;

    static COSMMarkupDependencyProperty* s_pStartPointProperty;
    static COSMMarkupDependencyProperty* s_pEndPointProperty;
    static COSMMarkupDependencyProperty* s_pGradientStopsProperty;
    static void RegisterMarkupProperties();
};
