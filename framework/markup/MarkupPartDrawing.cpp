#include "framework/markup/MarkupPartDrawing.h"

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupLayoutMath.h"

namespace {

// How far a part may reach past what shows before it is cut: more than any part's border, so a cut edge never
// shows as one.
constexpr int kPartCutMargin = 64;

HRESULT DefaultDrawThemeBackground(COSMVisualStyleWrapper& style, HDC dc, int part, int state, const RECT* rect)
{
    if (!rect)
        return E_INVALIDARG;
    // An element may be as large as the 32-bit limits: the visual style gets the part of it that shows.
    RECT clip = {};
    if (::GetClipBox(dc, &clip) == ERROR)
        return E_FAIL;
    const CRect cut = CutMarkupRectToClip(*rect, clip, kPartCutMargin);
    if (cut.IsRectEmpty())
        return S_OK;
    return style.DrawThemeBackground(dc, part, state, &cut, nullptr);
}

BOOL DefaultDrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (!rect)
        return FALSE;
    RECT clip = {};
    if (::GetClipBox(dc, &clip) == ERROR)
        return FALSE;
    CRect cut = CutMarkupRectToClip(*rect, clip, kPartCutMargin);
    if (cut.IsRectEmpty())
        return TRUE;
    return ::DrawFrameControl(dc, &cut, type, state);
}

BOOL DefaultIsVisualStyleOn(COSMVisualStyleWrapper& style)
{
    return style.IsOpen() && style.IsAppThemed();
}

COSMMarkupPartDrawing& Table()
{
    static COSMMarkupPartDrawing table = {DefaultDrawThemeBackground, DefaultDrawFrameControl, DefaultIsVisualStyleOn};
    return table;
}
}  // namespace

const COSMMarkupPartDrawing& GetMarkupPartDrawing()
{
    return Table();
}

COSMMarkupPartDrawing SetMarkupPartDrawing(const COSMMarkupPartDrawing& drawing)
{
    COSMMarkupPartDrawing previous = Table();
    Table().DrawThemeBackground =
        drawing.DrawThemeBackground ? drawing.DrawThemeBackground : DefaultDrawThemeBackground;
    Table().DrawFrameControl = drawing.DrawFrameControl ? drawing.DrawFrameControl : DefaultDrawFrameControl;
    Table().IsVisualStyleOn = drawing.IsVisualStyleOn ? drawing.IsVisualStyleOn : DefaultIsVisualStyleOn;
    return previous;
}

BOOL IsMarkupVisualStyleOn(COSMVisualStyleWrapper& style)
{
    return Table().IsVisualStyleOn(style);
}
