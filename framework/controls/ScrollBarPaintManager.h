// COSMScrollBarPaintManager: draws a COSMScrollBase's bar and gives the engine its metrics (arrow lengths, bar
// thicknesses, a fixed thumb length). Three looks, by the host's GetScrollBarStyle: 3 through the visual style's
// "SCROLLBAR" class when it opened and the application is themed; 2 flat (face-coloured parts framed in highlight
// and shadow, Marlett arrows); anything else the platform's frame controls. The slider and gallery painters build
// on it:
//
//   COSMScrollBarPaintManager painter(paintManager);   // the paint manager whose colours and theme id count
//   painter.RefreshMetrics();                           // reads the system's metrics, opens "SCROLLBAR"
//   painter.DrawScrollBar(dc, host);                    // the host's geometry, hot and pressed parts
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/PartPaintManager.h"
#include "framework/foundation/VisualStyleWrapper.h"

class CDC;
class COSMScrollBase;
struct ScrollBarGeometry;

class COSMScrollBarPaintManager : public COSMPartPaintManager
{
public:
    // Visual styles through the process-wide table that follows reloads.
    explicit COSMScrollBarPaintManager(COSMPaintManager* pOwner);
    // Through a table of the caller's (a test's stand-in library), which must outlive the painter.
    COSMScrollBarPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions);
    ~COSMScrollBarPaintManager() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual void DrawScrollBar(CDC* dc, COSMScrollBase* bar);
    // Re-reads the four system metrics and re-opens "SCROLLBAR".
    void RefreshMetrics() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The arrow length along a bar of that orientation.
    int GetArrowLength(BOOL vertical) const { return vertical ? m_verticalArrowLength : m_horizontalArrowLength; }
    int GetHorizontalArrowLength() const { return m_horizontalArrowLength; }
    int GetHorizontalThickness() const { return m_horizontalThickness; }
    int GetVerticalArrowLength() const { return m_verticalArrowLength; }
    int GetVerticalThickness() const { return m_verticalThickness; }
    // 0: the thumb's length follows the page.
    int GetFixedThumbLength() const { return m_fixedThumbLength; }
    COSMVisualStyleWrapper& GetScrollBarTheme() { return m_scrollBarTheme; }

protected:
    // The rectangles of the five parts, in drawing order.
    struct Parts
    {
        CRect firstArrow;
        CRect firstPage;
        CRect thumb;
        CRect secondPage;
        CRect secondArrow;
    };
    static Parts GetParts(const ScrollBarGeometry& geometry);
    // Where the thumb would be, within the track: what a bar without a thumb fills as track.
    static CRect GetThumblessTrack(const ScrollBarGeometry& geometry, const Parts& parts);
    // The part shown pressed (-1 none) and the hot part (-1 none), from the running press or the hot part.
    static void GetPartStates(const COSMScrollBase* bar, int* pressed, int* hot);
    // The brush the parent window gives WM_CTLCOLORSCROLLBAR for the page areas.
    static HBRUSH GetPageBrush(CDC* dc, COSMScrollBase* bar);
    // A Marlett arrow glyph ('3' left, '4' right, '5' up, '6' down), only in boxes of 6 × 6 or more.
    static void DrawArrowGlyph(CDC* dc, const CRect& box, char glyph, BOOL enabled);

    int m_horizontalArrowLength = 0;  // SM_CXHSCROLL
    int m_horizontalThickness = 0;    // SM_CYHSCROLL
    int m_verticalArrowLength = 0;    // SM_CYVSCROLL
    int m_verticalThickness = 0;      // SM_CXVSCROLL
    int m_fixedThumbLength = 0;
    COSMVisualStyleWrapper m_scrollBarTheme;

private:
    void DrawVisualStyle(CDC* dc, const ScrollBarGeometry& geometry, const Parts& parts, BOOL enabled, int pressed,
                         int hot);
    void DrawClassic(CDC* dc, COSMScrollBase* bar, const Parts& parts, BOOL enabled, int pressed, BOOL flat);
};
