#include "framework/markup/MarkupPartDrawing.h"

#include "framework/foundation/VisualStyleWrapper.h"

namespace {
HRESULT DefaultDrawThemeBackground(COSMVisualStyleWrapper& style, HDC dc, int part, int state, const RECT* rect)
{
    return style.DrawThemeBackground(dc, part, state, rect, nullptr);
}

BOOL DefaultDrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    return ::DrawFrameControl(dc, rect, type, state);
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
