// COSMMarkupRun (tag "Run"): a run of text in one font, and COSMMarkupLineBreak (tag "LineBreak"), a run holding one
// line feed. A run's positions are the addresses of its Text's characters.
//
//   <TextBlock>one<LineBreak/><Run FontWeight="Bold" FontSize="14">two</Run></TextBlock>
//
// The run's font comes from the markup context's cache, made from GetLogFont: the context's default LOGFONT with
// the run's effective FontSize, FontWeight, FontStyle, FontQuality and FontFamily.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupTextElement.h"

class COSMMarkupFont;
class COSMMarkupString;

class COSMMarkupRun : public COSMMarkupInline
{
    DECLARE_MARKUP_TYPE(COSMMarkupRun)

public:
    COSMMarkupRun() = default;

protected:
    ~COSMMarkupRun() override;
    // Gives the font back before the object goes.
    void OnFinalRelease() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Text becomes the run's Text; anything else is refused as the base refuses it.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    INT_PTR GetFirstPosition() override;
    void GetNextPosition(INT_PTR& position) override;
    BOOL IsWhiteSpace(INT_PTR position) override;
    BOOL IsLineBreak(INT_PTR position) override;
    BOOL IsBlank(INT_PTR position) override;
    // Equal start and end: width 0 and the height of a space, so an empty piece keeps its line's height.
    CSize Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end) override;
    // Through the system's fitting measure (COSMMarkupDrawingContext::GetTextFit): the cost of what fits.
    INT_PTR FitPosition(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxWidth) override;
    int MeasurePositions(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxCount, int* widths,
                         int* height) override;
    void Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end) override;
    void PrepareFont(COSMMarkupDrawingContext* dc) override;
    int GetDescent() override { return m_nDescent; }

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // FontSize 2147483647 ("Auto") and sizes of 0 or less leave the default height; larger sizes stop at 16384.
    void GetLogFont(LOGFONTW* logFont) const;
    void SetText(LPCWSTR text);
    // The Text, or null.
    COSMMarkupString* GetText() const;
    // The characters of the Text (null without), and a position's index in them.
    LPCWSTR GetTextChars() const;
    int GetCharIndex(INT_PTR position) const;
    // The widths of the first 0, 1 .. n characters of the Text (widths[i]: the first i; widths has room for the
    // Text's length + 1), measured in long stretches with the system's partial extents, and the height of the text:
    // what Measure gives the piece from character a to b is then widths[b] - widths[a]. FALSE where that does not
    // hold (text the system shapes, a device that does not add its advances up): the caller measures piece by piece.
    BOOL MeasureAdvances(COSMMarkupDrawingContext* dc, long long* widths, int* height);
    COSMMarkupFont* GetFont() const { return m_pFont; }

    // Text (re-measures).
    static COSMMarkupDependencyProperty* s_pTextProperty;
    static void RegisterMarkupProperties();

private:
    void ReleaseFont();

    int m_nDescent = 0;
    COSMMarkupFont* m_pFont = nullptr;
};

class COSMMarkupLineBreak : public COSMMarkupRun
{
    DECLARE_MARKUP_TYPE(COSMMarkupLineBreak)

public:
    COSMMarkupLineBreak();
};
