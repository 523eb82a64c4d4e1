// A stand-in for the GDI+ flat functions the markup renderer uses: each call is written to the test's record with
// its arguments and answers success (GdiplusStartup an error on request); objects are counted, not made.
#include "GdiPlusStandIn.h"

#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

GdiPlusStandInRecord* Record()
{
    char address[32] = {};
    if (!::GetEnvironmentVariableA(OSM_GDIPLUS_STANDIN_RECORD_VARIABLE, address, sizeof address))
        return nullptr;
    return reinterpret_cast<GdiPlusStandInRecord*>(static_cast<uintptr_t>(strtoull(address, nullptr, 16)));
}

void Write(const char* format, ...)
{
    GdiPlusStandInRecord* record = Record();
    if (!record)
        return;
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    const size_t length = strlen(line);
    if (record->length + length + 2 > sizeof record->text)
        return;
    memcpy(record->text + record->length, line, length);
    record->length += length;
    record->text[record->length++] = '\n';
    record->text[record->length] = '\0';
}

void* Made()
{
    static uintptr_t s_next = 0x1000;
    if (GdiPlusStandInRecord* record = Record())
        ++record->liveObjects;
    s_next += 0x10;
    return reinterpret_cast<void*>(s_next);
}

int Deleted(const char* name, void* object)
{
    Write("%s", name);
    if (GdiPlusStandInRecord* record = Record())
        --record->liveObjects;
    return object ? 0 : 2;
}

struct PointF
{
    float x, y;
};

}  // namespace

extern "C"
{

    int WINAPI GdiplusStartup(ULONG_PTR* token, const void* input, void* output)
    {
        const UINT32 version = input ? *static_cast<const UINT32*>(input) : 0;
        GdiPlusStandInRecord* record = Record();
        const bool fail = record && record->failStart;
        Write("GdiplusStartup version %u output %s", version, output ? "given" : "none");
        *token = fail ? 77 : 1234;
        return fail ? 1 : 0;
    }

    void WINAPI GdiplusShutdown(ULONG_PTR token)
    {
        Write("GdiplusShutdown %lu", static_cast<unsigned long>(token));
    }

    int WINAPI GdipCreateFromHDC(HDC dc, void** graphics)
    {
        Write("GdipCreateFromHDC");
        *graphics = Made();
        return 0;
    }

    int WINAPI GdipCreateFromHDC2(HDC dc, HANDLE device, void** graphics)
    {
        Write("GdipCreateFromHDC2");
        *graphics = Made();
        return 0;
    }

    int WINAPI GdipSetPageUnit(void* graphics, int unit)
    {
        Write("GdipSetPageUnit %d", unit);
        return 0;
    }

    int WINAPI GdipSetSmoothingMode(void* graphics, int mode)
    {
        Write("GdipSetSmoothingMode %d", mode);
        return 0;
    }

    int WINAPI GdipSetPixelOffsetMode(void* graphics, int mode)
    {
        Write("GdipSetPixelOffsetMode %d", mode);
        return 0;
    }

    int WINAPI GdipDeleteGraphics(void* graphics)
    {
        return Deleted("GdipDeleteGraphics", graphics);
    }

    int WINAPI GdipCreateSolidFill(UINT32 argb, void** brush)
    {
        Write("GdipCreateSolidFill %08x", argb);
        *brush = Made();
        return 0;
    }

    int WINAPI GdipCreateLineBrush(const PointF* start, const PointF* end, UINT32 first, UINT32 last, int wrap,
                                   void** brush)
    {
        Write("GdipCreateLineBrush %g,%g %g,%g %08x %08x wrap %d", start->x, start->y, end->x, end->y, first, last,
              wrap);
        *brush = Made();
        return 0;
    }

    int WINAPI GdipSetLinePresetBlend(void* brush, const UINT32* colors, const float* positions, int count)
    {
        char text[512] = "GdipSetLinePresetBlend";
        for (int i = 0; i < count; ++i)
        {
            const size_t used = strlen(text);
            snprintf(text + used, sizeof text - used, " %08x@%g", colors[i], positions[i]);
        }
        Write("%s", text);
        return 0;
    }

    int WINAPI GdipDeleteBrush(void* brush)
    {
        return Deleted("GdipDeleteBrush", brush);
    }

    int WINAPI GdipCreatePen1(UINT32 argb, float width, int unit, void** pen)
    {
        Write("GdipCreatePen1 %08x %g unit %d", argb, width, unit);
        *pen = Made();
        return 0;
    }

    int WINAPI GdipCreatePen2(void* brush, float width, int unit, void** pen)
    {
        Write("GdipCreatePen2 %g unit %d", width, unit);
        *pen = Made();
        return 0;
    }

    int WINAPI GdipDeletePen(void* pen)
    {
        return Deleted("GdipDeletePen", pen);
    }

    int WINAPI GdipCreatePath2(const PointF* points, const BYTE* types, int count, int fillMode, void** path)
    {
        char text[512] = "GdipCreatePath2";
        for (int i = 0; i < count; ++i)
        {
            const size_t used = strlen(text);
            snprintf(text + used, sizeof text - used, " %g,%g:%d", points[i].x, points[i].y, types[i]);
        }
        Write("%s mode %d", text, fillMode);
        *path = Made();
        return 0;
    }

    int WINAPI GdipDeletePath(void* path)
    {
        return Deleted("GdipDeletePath", path);
    }

    int WINAPI GdipFillRectangleI(void* graphics, void* brush, int x, int y, int width, int height)
    {
        Write("GdipFillRectangleI %d,%d %dx%d", x, y, width, height);
        return 0;
    }

    int WINAPI GdipFillEllipse(void* graphics, void* brush, float x, float y, float width, float height)
    {
        Write("GdipFillEllipse %g,%g %gx%g", x, y, width, height);
        return 0;
    }

    int WINAPI GdipDrawEllipse(void* graphics, void* pen, float x, float y, float width, float height)
    {
        Write("GdipDrawEllipse %g,%g %gx%g", x, y, width, height);
        return 0;
    }

    int WINAPI GdipDrawLineI(void* graphics, void* pen, int x1, int y1, int x2, int y2)
    {
        Write("GdipDrawLineI %d,%d %d,%d", x1, y1, x2, y2);
        return 0;
    }

    int WINAPI GdipDrawLinesI(void* graphics, void* pen, const POINT* points, int count)
    {
        Write("GdipDrawLinesI %d", count);
        return 0;
    }

    int WINAPI GdipFillPolygonI(void* graphics, void* brush, const POINT* points, int count, int fillMode)
    {
        Write("GdipFillPolygonI %d mode %d", count, fillMode);
        return 0;
    }

    int WINAPI GdipDrawPolygonI(void* graphics, void* pen, const POINT* points, int count)
    {
        Write("GdipDrawPolygonI %d", count);
        return 0;
    }

    int WINAPI GdipFillPath(void* graphics, void* brush, void* path)
    {
        Write("GdipFillPath");
        return 0;
    }

    int WINAPI GdipDrawPath(void* graphics, void* pen, void* path)
    {
        Write("GdipDrawPath");
        return 0;
    }

}  // extern "C"
