#include "framework/markup/MarkupCheckBox.h"

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupButton.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPartDrawing.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupCheckBox, COSMMarkupToggleButton, L"CheckBox", nullptr)

namespace {

constexpr int kCheckBoxPart = 3;
// Where the content starts, and the focus rectangle.
constexpr int kContentIndent = 16;
constexpr int kFocusLeft = 15;

}  // namespace

COSMMarkupCheckBox::~COSMMarkupCheckBox() = default;

CRect COSMMarkupCheckBox::GetGlyphRect(int height)
{
    return CRect(0, height / 2 - 6, kGlyphSize, height / 2 + 7);
}

CSize COSMMarkupCheckBox::MeasureGlyphButton(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc,
                                             int availableWidth, int availableHeight, int minimumEmptyHeight)
{
    button->GetVisualStyle().OpenThemeData(nullptr, L"BUTTON");
    const CSize padding = button->GetPaddingSums();
    const CSize extra(AddMarkupLengths(padding.cx, kContentIndent), padding.cy);
    COSMMarkupUIElement* content = button->GetContent();
    if (!content)
        return CSize(extra.cx, std::max(static_cast<int>(extra.cy), minimumEmptyHeight));
    content->Measure(dc, std::max(0, SubtractMarkupLengths(availableWidth, extra.cx)),
                     std::max(0, SubtractMarkupLengths(availableHeight, extra.cy)));
    const CSize desired = content->GetDesiredSize();
    return CSize(AddMarkupLengths(desired.cx, extra.cx), std::max(AddMarkupLengths(desired.cy, extra.cy), kGlyphSize));
}

CSize COSMMarkupCheckBox::ArrangeGlyphButton(COSMMarkupToggleButton* button, int width, int height)
{
    CRect rect = DeflateRect(CRect(0, 0, width, height), button->GetPadding());
    rect.left = AddMarkupLengths(rect.left, kContentIndent);
    if (COSMMarkupUIElement* content = button->GetContent())
        content->Arrange(rect);
    return CSize(width, height);
}

void COSMMarkupCheckBox::RenderGlyphFocus(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc)
{
    if (!button->GetContent())
        return;
    const CSize size = button->GetRenderSize();
    DrawMarkupFocusRect(dc, CRect(kFocusLeft, 0, size.cx, size.cy));
}

void COSMMarkupCheckBox::RenderGlyph(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc, int part, int state,
                                     UINT classicFlags)
{
    CRect glyph = GetGlyphRect(button->GetRenderSize().cy);
    HDC hdc = dc->GetDC();
    if (IsMarkupVisualStyleOn(button->GetVisualStyle()))
        GetMarkupPartDrawing().DrawThemeBackground(button->GetVisualStyle(), hdc, part, state, &glyph);
    else
        GetMarkupPartDrawing().DrawFrameControl(hdc, &glyph, DFC_BUTTON, classicFlags);
    dc->ReleaseDC(hdc);
}

CSize COSMMarkupCheckBox::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    return MeasureGlyphButton(this, dc, availableWidth, availableHeight, 0);
}

CSize COSMMarkupCheckBox::ArrangeOverride(int width, int height)
{
    return ArrangeGlyphButton(this, width, height);
}

void COSMMarkupCheckBox::OnRender(COSMMarkupDrawingContext* dc)
{
    const int checked = GetIsChecked();
    int state = GetPartState();
    if (checked == Checked)
        state += 4;
    else if (checked == Indeterminate)
        state += 8;
    UINT flags = DFCS_BUTTONCHECK;
    if (GetIsPressed())
        flags |= DFCS_PUSHED;
    if (checked == Checked)
        flags |= DFCS_CHECKED;
    else if (checked == Indeterminate)
        flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    RenderGlyph(this, dc, kCheckBoxPart, state, flags);
}

void COSMMarkupCheckBox::OnRenderFocusVisual(COSMMarkupDrawingContext* dc)
{
    RenderGlyphFocus(this, dc);
}
