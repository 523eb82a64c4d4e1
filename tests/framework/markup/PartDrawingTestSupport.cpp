#include "PartDrawingTestSupport.h"

namespace markup_test {

namespace {

PartRecorder* g_recorder = nullptr;

HRESULT RecordThemePart(COSMVisualStyleWrapper&, HDC, int part, int state, const RECT* rect)
{
    if (g_recorder)
        g_recorder->themeParts.push_back({part, state, CRect(*rect)});
    return S_OK;
}

BOOL RecordFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (g_recorder)
        g_recorder->frameControls.push_back({static_cast<int>(type), static_cast<int>(state), CRect(*rect)});
    return ::DrawFrameControl(dc, rect, type, state);
}

BOOL StyleOn(COSMVisualStyleWrapper&)
{
    return TRUE;
}

BOOL StyleOff(COSMVisualStyleWrapper&)
{
    return FALSE;
}

}  // namespace

PartRecorder::PartRecorder()
{
    // A null entry keeps the table's own test.
    Install(nullptr);
}

PartRecorder::PartRecorder(bool themed)
{
    Install(themed ? StyleOn : StyleOff);
}

PartRecorder::~PartRecorder()
{
    g_recorder = nullptr;
    SetMarkupPartDrawing(m_previous);
}

void PartRecorder::Install(BOOL (*isVisualStyleOn)(COSMVisualStyleWrapper&))
{
    m_previous = SetMarkupPartDrawing({RecordThemePart, RecordFrameControl, isVisualStyleOn});
    g_recorder = this;
}

void PartRecorder::Clear()
{
    themeParts.clear();
    frameControls.clear();
}

}  // namespace markup_test
