#include "framework/controls/ToolTipMarkupToolTip.h"

#include "classlib/DC.h"
#include "framework/controls/ToolTipLayout.h"
#include "framework/markup/Markup.h"

IMPLEMENT_DYNAMIC(COSMToolTipMarkupToolTip, COSMToolTipContextToolTip)

COSMToolTipMarkupToolTip::COSMToolTipMarkupToolTip(COSMToolTipContext* pContext)
    : COSMToolTipContextToolTip(pContext), m_pMarkupContext(CreateMarkupContext(nullptr))
{}

COSMToolTipMarkupToolTip::~COSMToolTipMarkupToolTip()
{
    ReleaseMarkupElement(&m_pElement);
    ReleaseMarkupContext(&m_pMarkupContext);
}

void COSMToolTipMarkupToolTip::CalcTipSize(CSize& result, COSMToolTipToolRecord& tool)
{
    ReleaseMarkupElement(&m_pElement);
    result = CSize(0, 0);
    const CString text = GetToolText(tool);
    if (text.IsEmpty())
        return;
    SetMarkupContextDefaultFont(m_pMarkupContext, *GetContext()->GetNormalFont(), GetContext()->GetTipTextColor());
    m_pElement = ParseMarkup(m_pMarkupContext, text);
    if (!m_pElement)
    {
        COSMToolTipContextToolTip::CalcTipSize(result, tool);
        return;
    }
    const CSize inset = ToolTipInset(GetContext()->GetMargin());
    const CSize size = MeasureMarkupElement(m_pElement, GetWidthLimit() - inset.cx, 0x7FFFFFFF);
    result = CSize(size.cx + inset.cx, size.cy + inset.cy);
}

void COSMToolTipMarkupToolTip::DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient)
{
    if (!m_pElement)
    {
        COSMToolTipContextToolTip::DrawContent(pDC, tool, rcClient);
        return;
    }
    const CRect rc = GetContentRect(rcClient);
    RenderMarkupElement(m_pElement, pDC->GetSafeHdc(), &rc);
}
