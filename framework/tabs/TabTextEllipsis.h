// The middle ellipsis of a tab caption that does not fit: the caption keeps its start and its end around "...",
// as many characters as the room allows. Pure arithmetic over a text-measuring callback, so it runs on any DC:
//
//   COSMTabEllipsisResult fit = FitTextWithMiddleEllipsis(caption, 30, [&](const CString& s) { return Width(s); });
//   if (fit.bPathEllipsis) ... DrawText with DT_PATH_ELLIPSIS; else draw fit.strText
#pragma once

#include <functional>

#include "classlib/CString.h"

struct COSMTabEllipsisResult
{
    CString strText;
    // The text holds a backslash: DrawText shortens it as a path (DT_PATH_ELLIPSIS) instead.
    bool bPathEllipsis = false;
};

COSMTabEllipsisResult FitTextWithMiddleEllipsis(const CString& strText, int nRoom,
                                                const std::function<int(const CString&)>& measure);
