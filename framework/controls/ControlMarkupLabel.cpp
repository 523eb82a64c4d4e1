#include "framework/controls/ControlMarkupLabel.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/controls/ControlTextFont.h"
#include "framework/markup/Markup.h"

IMPLEMENT_SERIAL(COSMControlMarkupLabel, COSMControlLabel, VERSIONABLE_SCHEMA | 0x22)

COSMControlMarkupLabel::COSMControlMarkupLabel() = default;

COSMControlMarkupLabel::~COSMControlMarkupLabel()
{
    ReleaseMarkupElement(&m_element);
}

void COSMControlMarkupLabel::OnCaptionChanged()
{
    ReleaseMarkupElement(&m_element);
    // The element keeps its context alive for as long as it needs it.
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    m_element = ParseMarkup(context, GetCaption());
    ReleaseMarkupContext(&context);
}

CSize COSMControlMarkupLabel::GetSize(CDC* dc)
{
    if (!m_element)
        return COSMControlLabel::GetSize(dc);
    SetMarkupContextDefaultFont(GetMarkupElementContext(m_element), OsmGetControlTextFont(this), COLORREF(-1));
    return MeasureMarkupElement(m_element, 0x7FFFFFFF, 0x7FFFFFFF);
}

void COSMControlMarkupLabel::Draw(CDC* dc)
{
    if (!m_element)
    {
        COSMControlLabel::Draw(dc);
        return;
    }
    COLORREF color = COLORREF(-1);
    if (COSMPaintManager* paintManager = GetPaintManager())
        color =
            paintManager->GetStateTextColor(FALSE, FALSE, GetEnabled() != 0, FALSE, FALSE,
                                            m_parent ? m_parent->GetType() : 0, m_parent ? m_parent->GetPosition() : 0);
    SetMarkupContextDefaultFont(GetMarkupElementContext(m_element), OsmGetControlTextFont(this), color);
    const CRect rect = GetRect();
    RenderMarkupElement(m_element, dc->GetSafeHdc(), &rect);
}

COSMControl* COSMControlMarkupLabel::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlMarkupLabel*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
