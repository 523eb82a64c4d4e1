#include "framework/controls/ToolTipRichTextToolTip.h"

#include "classlib/DC.h"
#include "framework/controls/ToolTipLayout.h"

IMPLEMENT_DYNAMIC(COSMToolTipRichTextToolTip, COSMToolTipContextToolTip)

COSMToolTipRichTextToolTip::COSMToolTipRichTextToolTip(COSMToolTipContext* pContext,
                                                       const COSMTextServicesLoader& loader)
    : COSMToolTipContextToolTip(pContext), m_renderer(loader)
{}

CHARFORMATW COSMToolTipRichTextToolTip::GetTipCharFormat() const
{
    CHARFORMATW format;
    ZeroMemory(&format, sizeof(format));
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
    format.crTextColor = GetContext()->GetTipTextColor();
    LOGFONTA font;
    CFont* pFont = GetContext()->GetNormalFont();
    if (pFont && pFont->GetSafeHandle() && ::GetObjectA(pFont->GetSafeHandle(), sizeof(font), &font) == sizeof(font))
    {
        HDC hScreen = ::GetDC(nullptr);
        format.yHeight = -::MulDiv(font.lfHeight, 1440, ::GetDeviceCaps(hScreen, LOGPIXELSY));
        ::ReleaseDC(nullptr, hScreen);
        ::MultiByteToWideChar(CP_ACP, 0, font.lfFaceName, -1, format.szFaceName, LF_FACESIZE);
        format.szFaceName[LF_FACESIZE - 1] = L'\0';
        format.dwMask |= CFM_SIZE | CFM_FACE;
    }
    return format;
}

void COSMToolTipRichTextToolTip::CalcTipSize(CSize& result, COSMToolTipToolRecord& tool)
{
    result = CSize(0, 0);
    if (!m_renderer.HasTextServices())
        return;
    const CString text = GetToolText(tool);
    if (text.IsEmpty())
        return;
    // Cleared before the default changes, so no earlier text keeps its old format.
    m_renderer.SetText("");
    const CHARFORMATW format = GetTipCharFormat();
    m_renderer.SetDefaultCharFormat(&format);
    m_renderer.SetText(text);
    const CSize inset = ToolTipInset(GetContext()->GetMargin());
    CClientDC dc(this);
    const CSize size = m_renderer.GetTextExtent(&dc, GetWidthLimit() - inset.cx);
    if (size.cx == 0 && size.cy == 0)
        return;
    result = CSize(size.cx + inset.cx, size.cy + inset.cy);
}

void COSMToolTipRichTextToolTip::DrawContent(CDC* pDC, COSMToolTipToolRecord&, CRect rcClient)
{
    const CRect rc = GetContentRect(rcClient);
    m_renderer.DrawText(pDC, &rc);
}
