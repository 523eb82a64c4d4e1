// A command's prompt string, as string resources carry it: newline-separated parts "description\ntooltip\ncaption\n
// keyboard tip". Controls and actions both fill their texts from it.
#pragma once

#include "classlib/ClassLib.h"

struct COSMPromptText
{
    // Parts 0 and 1, or the whole text twice when it holds no newline.
    CString description;
    CString tooltip;
    // Parts 2 and 3; empty when missing.
    CString caption;
    CString keyboardTip;

    explicit COSMPromptText(const CString& text);
};

// Part n of a newline-separated text; empty when the text has fewer parts.
CString ExtractPromptPart(const CString& text, int part);
