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

BOOL ApplyPrompt(const CString& prompt, CString& tooltip, CString& description, CString& caption, CString& keyboardTip,
                 BOOL captionFromTooltip)
{
    if (prompt.IsEmpty())
        return FALSE;
    const BOOL parts = prompt.Find('\n') >= 0;
    description = parts ? ExtractPromptPart(prompt, 0) : prompt;
    tooltip = parts ? ExtractPromptPart(prompt, 1) : prompt;
    BOOL captionFilled = FALSE;
    if (caption.IsEmpty())
    {
        caption = ExtractPromptPart(prompt, 2);
        if (caption.IsEmpty() && captionFromTooltip)
            caption = tooltip;
        captionFilled = captionFromTooltip || !caption.IsEmpty();
    }
    if (keyboardTip.IsEmpty())
        keyboardTip = ExtractPromptPart(prompt, 3);
    return captionFilled;
}
