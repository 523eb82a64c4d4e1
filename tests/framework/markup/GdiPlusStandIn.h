// The recording stand-in for the GDI+ library that the markup's GDI+ tests load by name. It finds the test's record
// through an environment variable holding its address (both live in one process), so what it wrote survives its own
// unloading: every call with its arguments, one line each, and how many of its objects are alive.
#pragma once

#include <cstddef>

#define OSM_GDIPLUS_STANDIN_RECORD_VARIABLE "OSM_GDIPLUS_STANDIN_RECORD"
#define OSM_GDIPLUS_STANDIN_FILE "markup_gdiplus_standin.dll"

struct GdiPlusStandInRecord
{
    int failStart;    // GdiplusStartup answers an error (and a token, which must not be trusted)
    int liveObjects;  // graphics, brushes, pens and paths made and not yet deleted
    size_t length;
    char text[65536];  // the calls, "Name arguments\n" each
};
