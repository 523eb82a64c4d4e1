// The string converters dependency properties carry in their metadata: the builder asks them before the value type's
// own conversion. Each takes only a COSMMarkupString (anything else gives null), compares the whole text with its
// names ignoring case, and returns a new object (the shared enum of COSMMarkupEnum::CreateValue for named values,
// a COSMMarkupInt for lengths and cursors) or null for text it does not know.
//
//   new COSMMarkupPropertyMetadata(COSMMarkupEnum::CreateValue(0), ConvertHorizontalAlignment, 0);
#pragma once

#include "framework/markup/MarkupObject.h"

// "Auto" (any case) gives 2147483647, the length the layout reads as no size given. Otherwise the leading integer
// (a fraction is dropped), scaled by a two-letter unit at the end: "pt" (96/72, rounded), "in" (96) or "cm"
// (37.79528, toward zero); results beyond the 32-bit range saturate. Text that is no number gives 0.
COSMMarkupObject* ConvertMarkupLength(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Thin" 100 ... "ExtraBlack" 950.
COSMMarkupObject* ConvertFontWeight(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Normal" 0, "Italic" 1.
COSMMarkupObject* ConvertFontStyle(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// Empty text 0, "Underline" 1, "Strikethrough" 2.
COSMMarkupObject* ConvertTextDecorations(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "ClearType" 5.
COSMMarkupObject* ConvertFontQuality(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Left" 0, "Center" 1, "Right" 2, "Stretch" 3.
COSMMarkupObject* ConvertHorizontalAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Top" 0, "Center" 1, "Bottom" 2, "Stretch" 3.
COSMMarkupObject* ConvertVerticalAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "NoWrap" 0, "Wrap" 1, "WrapWithOverflow" 2.
COSMMarkupObject* ConvertTextWrapping(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "None" 0, "CharacterEllipsis" 1, "WordEllipsis" 2.
COSMMarkupObject* ConvertTextTrimming(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Left" 0, "Right" 1, "Center" 2, "Justify" 3.
COSMMarkupObject* ConvertTextAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Horizontal" 0, "Vertical" 1.
COSMMarkupObject* ConvertOrientation(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Top" 0 ... "Superscript" 7.
COSMMarkupObject* ConvertBaselineAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Visible" 0, "Hidden" 1, "Collapsed" 2.
COSMMarkupObject* ConvertVisibility(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Disabled" 0, "Auto" 1, "Visible" 2.
COSMMarkupObject* ConvertScrollBarVisibility(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "None" 0, "Fill" 1, "Uniform" 2, "UniformToFill" 3.
COSMMarkupObject* ConvertStretch(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// A COSMMarkupInt holding the system cursor's identifier ("Arrow" 32512, "Hand" 32649 ...; "None" 0).
COSMMarkupObject* ConvertCursor(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Left" 0, "Top" 1, "Right" 2, "Bottom" 3.
COSMMarkupObject* ConvertDock(COSMMarkupBuilder* builder, COSMMarkupObject* value);
// "Continue" 0, "Once" 1, "Cycle" 2, "None" 3, "Contained" 4, "Local" 5.
COSMMarkupObject* ConvertTabNavigation(COSMMarkupBuilder* builder, COSMMarkupObject* value);
