#include "framework/commandbars/PromptText.h"

CString ExtractPromptPart(const CString& text, int part)
{
    int start = 0;
    for (int i = 0; i < part; ++i)
    {
        start = text.Find('\n', start);
        if (start < 0)
            return CString();
        ++start;
    }
    const int end = text.Find('\n', start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

COSMPromptText::COSMPromptText(const CString& text)
{
    if (text.Find('\n') >= 0)
    {
        description = ExtractPromptPart(text, 0);
        tooltip = ExtractPromptPart(text, 1);
    }
    else
    {
        description = text;
        tooltip = text;
    }
    caption = ExtractPromptPart(text, 2);
    keyboardTip = ExtractPromptPart(text, 3);
}
