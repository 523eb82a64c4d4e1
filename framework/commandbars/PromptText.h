// A command's prompt string, as string resources carry it: newline-separated parts "description\ntooltip\ncaption\n
// keyboard tip". Controls and actions both fill their texts from it.
#pragma once

#include "classlib/CString.h"

// Part n of a newline-separated text; empty when the text has fewer parts.
CString ExtractPromptPart(const CString& text, int part);

// Fills the texts from a prompt (an empty prompt changes nothing): the tooltip and description always (both the
// whole text when it holds no newline), an empty caption with part 2 (or, when asked and part 2 is empty, with the
// tooltip), an empty keyboard tip with part 3. TRUE when the caption was filled.
BOOL ApplyPrompt(const CString& prompt, CString& tooltip, CString& description, CString& caption, CString& keyboardTip,
                 BOOL captionFromTooltip);
