// COSMToolTipMarkupToolTip: the tip window of style 7, whose tip texts are markup. A text that parses is measured
// and drawn by the markup engine (through its entry functions, in the context's font and text colour); one that
// does not shows as plain text.
#pragma once

#include "framework/controls/ToolTipContextToolTip.h"

class COSMMarkupContext;
class COSMMarkupUIElement;

class COSMToolTipMarkupToolTip : public COSMToolTipContextToolTip
{
    DECLARE_DYNAMIC(COSMToolTipMarkupToolTip)

public:
    explicit COSMToolTipMarkupToolTip(COSMToolTipContext* pContext);
    // Releases the element and the markup context.
    ~COSMToolTipMarkupToolTip() override;

    void CalcTipSize(CSize& result, COSMToolTipToolRecord& tool) override;
    void DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient) override;

    // The tree of the last text measured, or null when it did not parse.
    COSMMarkupUIElement* GetMarkupElement() const { return m_pElement; }

private:
    COSMMarkupUIElement* m_pElement = nullptr;
    COSMMarkupContext* m_pMarkupContext;
};
