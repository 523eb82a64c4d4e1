// COSMControlMarkupLabel: a label whose caption is markup. Every caption change parses it again into an element of
// its own (a markup context without a host window); the label measures and draws that element with the paint
// manager's regular font and state text colour. A caption that does not parse leaves no element, and the label
// measures and draws as a plain one:
//
//   auto* label = static_cast<COSMControlMarkupLabel*>(bar->GetControls()->AddControl(
//       static_cast<COSMControl*>(COSMControlMarkupLabel::CreateObject()), 0));
//   label->SetCaption("<TextBlock>Found <Bold>3</Bold> files</TextBlock>");
#pragma once

#include "classlib/Object.h"
#include "framework/controls/ControlLabel.h"

class COSMMarkupUIElement;

class COSMControlMarkupLabel : public COSMControlLabel
{
    DECLARE_SERIAL(COSMControlMarkupLabel)

public:
    COSMControlMarkupLabel();
    ~COSMControlMarkupLabel() override;

    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Parses GetCaption again; the old element goes.
    void OnCaptionChanged() override;
    COSMControl* Clone(BOOL recursive) const override;

    // The element of the caption, null when it did not parse.
    COSMMarkupUIElement* GetMarkupElement() const { return m_element; }

private:
    COSMMarkupUIElement* m_element = nullptr;
};
