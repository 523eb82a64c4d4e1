#include "framework/controls/ControlHyperlink.h"

#include "classlib/DC.h"
#include "framework/controls/ControlTextFont.h"
#include "framework/foundation/ColorManager.h"

#include <shellapi.h>

IMPLEMENT_SERIAL(COSMControlHyperlink, COSMControl, VERSIONABLE_SCHEMA | 0x22)

namespace {

COSMControlHyperlink::Opener g_hyperlinkOpener = &::ShellExecuteA;

// What a click may hand the shell: nothing that starts a program or opens a local file.
const char* const kOpenableSchemes[] = {"http://", "https://", "mailto:"};

}  // namespace

COSMControlHyperlink::COSMControlHyperlink()
{
    m_handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
    if (!m_handCursor)
        m_handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
}

CString COSMControlHyperlink::GetOpenableTarget(const CString& target)
{
    CString trimmed = target;
    trimmed.Trim();
    for (const char* scheme : kOpenableSchemes)
    {
        const int length = static_cast<int>(strlen(scheme));
        if (trimmed.GetLength() > length && trimmed.Left(length).CompareNoCase(scheme) == 0)
            return trimmed;
    }
    return CString();
}

void COSMControlHyperlink::SetOpener(Opener opener)
{
    g_hyperlinkOpener = opener ? opener : &::ShellExecuteA;
}

CSize COSMControlHyperlink::GetSize(CDC* dc)
{
    const CString caption = GetCaption();
    const HGDIOBJ old = ::SelectObject(dc->GetSafeHdc(), OsmGetControlTextFont(this));
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc->GetSafeHdc(), caption, caption.GetLength(), &extent);
    ::SelectObject(dc->GetSafeHdc(), old);
    return CSize(extent.cx, extent.cy);
}

void COSMControlHyperlink::Draw(CDC* dc)
{
    COLORREF color = GetSelected() ? RGB(255, 0, 0) : RGB(0, 0, 255);
    if (GetEnabled() == 0)
        color = GetColorManager()->GetColor(COLOR_GRAYTEXT);
    const HDC hdc = dc->GetSafeHdc();
    const HGDIOBJ oldFont = ::SelectObject(hdc, OsmGetControlTextFont(this));
    const COLORREF oldColor = ::SetTextColor(hdc, color);
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const CString caption = GetCaption();
    CRect rect = GetRect();
    ::DrawTextA(hdc, caption, caption.GetLength(), &rect, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    ::SetBkMode(hdc, oldMode);
    ::SetTextColor(hdc, oldColor);
    ::SelectObject(hdc, oldFont);
}

void COSMControlHyperlink::OnClick(BOOL keyboard, CPoint point)
{
    if (GetEnabled() == 0)
        return;
    if (IsCustomizeMode())
    {
        // A link never opens while the bars are being customized.
        if (!keyboard && IsCustomizeClickAllowed())
            OnCustomizeLButtonDown(point);
        return;
    }
    OnExecute();
}

void COSMControlHyperlink::OnMouseMove(CPoint point)
{
    if (m_handCursor)
        ::SetCursor(m_handCursor);
}

void COSMControlHyperlink::OnExecute()
{
    const CString target = GetOpenableTarget(GetTooltipText());
    if (target.IsEmpty())
    {
        COSMControl::OnExecute();
        return;
    }
    g_hyperlinkOpener(nullptr, "open", target, nullptr, nullptr, SW_SHOW);
}

COSMControl* COSMControlHyperlink::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlHyperlink*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
