#include "framework/markup/MarkupSpan.h"

#include "framework/markup/MarkupRoutedEvent.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupSpan, COSMMarkupInline, L"Span", nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupBold, COSMMarkupSpan, L"Bold", nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupItalic, COSMMarkupSpan, L"Italic", nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupUnderline, COSMMarkupSpan, L"Underline", nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupHyperlink, COSMMarkupSpan, L"Hyperlink", &COSMMarkupHyperlink::RegisterMarkupProperties)

COSMMarkupRoutedEvent* COSMMarkupHyperlink::s_pClickEvent = nullptr;

COSMMarkupSpan::COSMMarkupSpan() : m_pInlines(new COSMMarkupInlineCollection)
{
    m_pInlines->SetLogicalParent(this);
}

COSMMarkupSpan::~COSMMarkupSpan()
{
    m_pInlines->SetLogicalParent(nullptr);
    m_pInlines->Release();
}

COSMMarkupObject* COSMMarkupSpan::GetLogicalChild(int index) const
{
    return index == 0 ? m_pInlines : nullptr;
}

void COSMMarkupSpan::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    m_pInlines->SetContentObject(builder, content);
}

BOOL COSMMarkupSpan::HasContentObject() const
{
    return m_pInlines->HasContentObject();
}

COSMMarkupInline* COSMMarkupSpan::GetFirstInline()
{
    COSMMarkupInline* first = m_pInlines->GetInline(0);
    return first ? first->GetFirstInline() : this;
}

COSMMarkupBold::COSMMarkupBold()
{
    SetFontWeight(FW_BOLD);
}

COSMMarkupItalic::COSMMarkupItalic()
{
    SetFontStyle(1);
}

COSMMarkupUnderline::COSMMarkupUnderline()
{
    SetTextDecorations(1);
}

void COSMMarkupHyperlink::RegisterMarkupProperties()
{
    s_pClickEvent = COSMMarkupRoutedEvent::RegisterEvent(L"Click", GetClassType(), COSMMarkupRoutedEvent::Bubble);
}

void COSMMarkupHyperlink::OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args)
{
    m_bPressed = TRUE;
    args->handled = TRUE;
}

void COSMMarkupHyperlink::OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args)
{
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    args->handled = TRUE;
    OnClick();
}

void COSMMarkupHyperlink::OnClick()
{
    COSMMarkupRoutedEventArgs args(s_pClickEvent);
    args.source = this;
    RaiseEvent(&args);
}
