#include "framework/controls/ToolTipHtmlToolTip.h"

#include "framework/controls/HtmlTipHost.h"

IMPLEMENT_DYNAMIC(COSMToolTipHtmlToolTip, COSMToolTipContextToolTip)

COSMToolTipHtmlToolTip::COSMToolTipHtmlToolTip(COSMToolTipContext* pContext) : COSMToolTipContextToolTip(pContext) {}

COSMToolTipHtmlToolTip::~COSMToolTipHtmlToolTip()
{
    // Taken out of the member first: what the control does as it lets go cannot reach a half-gone host.
    RefPtr<COSMHtmlTipHost> host = std::move(m_htmlHost);
    if (host)
        host->Close();
}

void COSMToolTipHtmlToolTip::CalcTipSize(CSize& result, COSMToolTipToolRecord& tool)
{
    result = CSize(0, 0);
    COSMHtmlTipRequest request;
    request.html = GetToolText(tool);
    if (request.html.IsEmpty())
        return;
    if (!m_htmlHost || !m_htmlHost->IsOpen())
    {
        if (m_htmlHost)
            m_htmlHost->Close();
        m_htmlHost = COSMHtmlTipHost::Open(this);
    }
    if (!m_htmlHost)
        return;
    COSMToolTipContext* pContext = GetContext();
    request.aboutUrl =
        OsmHtmlTipAboutText(static_cast<HFONT>(pContext->GetNormalFont()->GetSafeHandle()), pContext->GetTipBkColor());
    request.maxWidth = pContext->GetMaxTipWidth();
    request.margins = pContext->GetMargin();
    // The wait for the document may see this window deleted: the host holds itself meanwhile, and (0, 0) is
    // answered without touching a member again.
    const CSize size = m_htmlHost->MeasureTip(request);
    if (size.cx == 0 && size.cy == 0)
        return;
    result = size;
}

void COSMToolTipHtmlToolTip::DrawContent(CDC*, COSMToolTipToolRecord&, CRect) {}
