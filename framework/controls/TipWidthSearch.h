// The width searches of the tip windows: the narrowest width at which a tip's content keeps the height it has at the
// widest width allowed. They know nothing of the content; the caller lays it out at a width and answers the size it
// took (the rich-text renderer through its text services, the HTML tip through its browser), so the searches run
// headless against fakes:
//
//   CSize size = OsmSearchRichTextExtent(nMaxWidth, ::GetSystemMetrics(SM_CXSCREEN),
//                                        [&](int nWidth) { return LayOutAt(nWidth); });
//
// A maximum of -1 (a context's "no limit") stands for the screen width, the same limit the tip windows wrap plain
// text at.
#pragma once

#include "classlib/Geometry.h"

#include <functional>

// Lays the content out at nWidth pixels and answers the size it then takes (width, height).
using OsmTipLayoutAtWidth = std::function<CSize(int nWidth)>;

// The width to search under: nMaxWidth, or cxScreen when nMaxWidth is negative (-1: no limit of its own).
int OsmResolveTipWidthLimit(int nMaxWidth, int cxScreen);

// Rich text: bisects widths 0 .. 2 x limit, starting at the limit, whose height is the one to keep; answers the size
// told by the narrowest pass that kept it (one more pass when the search ended on a taller one).
CSize OsmSearchRichTextExtent(int nMaxWidth, int cxScreen, const OsmTipLayoutAtWidth& layoutAtWidth);

// HTML: nNaturalHeight is the content's height laid out wide. Bisects widths 0 .. 2 x limit, starting at the limit,
// for the narrowest one that keeps that height. Content wider than the width it was given (a table that cannot
// wrap) ends the search at once with its own width. Answers the width.
int OsmSearchHtmlTipWidth(int nMaxWidth, int cxScreen, int nNaturalHeight, const OsmTipLayoutAtWidth& layoutAtWidth);
