#include "framework/markup/MarkupRadioButton.h"

#include "framework/markup/MarkupCheckBox.h"
#include "framework/markup/MarkupType.h"

#include <vector>

IMPLEMENT_MARKUP_TYPE(COSMMarkupRadioButton, COSMMarkupToggleButton, L"RadioButton", nullptr)

namespace {

constexpr int kRadioButtonPart = 2;

}  // namespace

COSMMarkupRadioButton::~COSMMarkupRadioButton() = default;

CSize COSMMarkupRadioButton::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    return COSMMarkupCheckBox::MeasureGlyphButton(this, dc, availableWidth, availableHeight,
                                                  COSMMarkupCheckBox::kGlyphSize);
}

CSize COSMMarkupRadioButton::ArrangeOverride(int width, int height)
{
    return COSMMarkupCheckBox::ArrangeGlyphButton(this, width, height);
}

void COSMMarkupRadioButton::OnRender(COSMMarkupDrawingContext* dc)
{
    const BOOL checked = GetIsChecked() != Unchecked;
    int state = GetPartState();
    if (checked)
        state += 4;
    UINT flags = DFCS_BUTTONRADIO;
    if (GetIsPressed())
        flags |= DFCS_PUSHED;
    if (GetIsChecked() > 0)
        flags |= DFCS_CHECKED;
    COSMMarkupCheckBox::RenderGlyph(this, dc, kRadioButtonPart, state, flags);
}

void COSMMarkupRadioButton::OnRenderFocusVisual(COSMMarkupDrawingContext* dc)
{
    COSMMarkupCheckBox::RenderGlyphFocus(this, dc);
}

void COSMMarkupRadioButton::OnToggle()
{
    SetIsChecked(Checked);
}

void COSMMarkupRadioButton::OnChecked(COSMMarkupRoutedEventArgs* args)
{
    UncheckSiblings();
    COSMMarkupToggleButton::OnChecked(args);
}

void COSMMarkupRadioButton::UncheckSiblings()
{
    COSMMarkupUIElement* parent = GetUIElementParent();
    if (!parent)
        return;
    // Collected first and held: an Unchecked handler may change the parent's children.
    std::vector<COSMMarkupRadioButton*> checked;
    for (int i = 0; i < parent->GetVisualChildrenCount(); ++i)
    {
        COSMMarkupRadioButton* sibling = MarkupDynamicCast<COSMMarkupRadioButton>(parent->GetVisualChild(i));
        if (sibling && sibling != this && sibling->GetIsChecked() != Unchecked)
        {
            sibling->AddRef();
            checked.push_back(sibling);
        }
    }
    for (COSMMarkupRadioButton* sibling : checked)
    {
        sibling->SetIsChecked(Unchecked);
        sibling->Release();
    }
}
