#include "framework/markup/MarkupSpan.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupRoutedEvent.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTrigger.h"
#include "framework/markup/MarkupUIElement.h"
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

namespace {

// Every hyperlink without a style of its own looks like one: underlined, blue, the hand cursor, red while the mouse
// is over it.
COSMMarkupStyle* CreateHyperlinkStyle()
{
    // Registration runs in the registry's order, which follows static initialisation: the types used here may not
    // have registered their properties yet.
    COSMMarkupStyle::GetClassType()->EnsureInitialized();
    COSMMarkupSolidColorBrush::GetClassType()->EnsureInitialized();
    COSMMarkupStyle* style = new COSMMarkupStyle;
    COSMMarkupSetterColection* setters = style->GetSetters();
    setters->Add(
        new COSMMarkupSetter(COSMMarkupTextElement::s_pTextDecorationsProperty, COSMMarkupEnum::CreateValue(1)));
    setters->Add(new COSMMarkupSetter(COSMMarkupTextElement::s_pForegroundProperty,
                                      new COSMMarkupSolidColorBrush(RGB(0, 0, 0xFF))));
    setters->Add(new COSMMarkupSetter(COSMMarkupInputElement::s_pCursorProperty,
                                      new COSMMarkupInt(LOWORD(reinterpret_cast<ULONG_PTR>(IDC_HAND)))));
    COSMMarkupTrigger* hover =
        new COSMMarkupTrigger(COSMMarkupInputElement::s_pIsMouseOverProperty, COSMMarkupBool::CreateTrueValue());
    hover->AddSetter(new COSMMarkupSetter(COSMMarkupTextElement::s_pForegroundProperty,
                                          new COSMMarkupSolidColorBrush(RGB(0xFF, 0, 0))));
    COSMMarkupTriggerCollection* triggers = new COSMMarkupTriggerCollection;
    triggers->Add(hover);
    style->SetValue(COSMMarkupStyle::s_pTriggersProperty, triggers);
    return style;
}

}  // namespace

void COSMMarkupHyperlink::RegisterMarkupProperties()
{
    s_pClickEvent = COSMMarkupRoutedEvent::RegisterEvent(L"Click", GetClassType(), COSMMarkupRoutedEvent::Bubble);
    GetClassType()->SetTypeStyle(CreateHyperlinkStyle());
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

// ---- COSMMarkupInlineUIContainer ---------------------------------------------------------------------------------

IMPLEMENT_MARKUP_TYPE(COSMMarkupInlineUIContainer, COSMMarkupInline, L"InlineUIContainer", nullptr)

namespace {

// The room an element inside text is measured with: as good as unbounded, yet far from the 32-bit limits.
constexpr int kInlineElementRoom = 32000;

}  // namespace

COSMMarkupInlineUIContainer::~COSMMarkupInlineUIContainer()
{
    SetChild(nullptr);
}

COSMMarkupObject* COSMMarkupInlineUIContainer::GetLogicalChild(int index) const
{
    return index == 0 ? m_pChild : nullptr;
}

void COSMMarkupInlineUIContainer::SetChild(COSMMarkupUIElement* child)
{
    ReplaceMarkupChild(this, m_pChild, child);
}

void COSMMarkupInlineUIContainer::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(content);
    if (!element)
    {
        COSMMarkupBuilder::ThrowBuilderException(FormatMarkupMessage2(
            "'%ls' object cannot be added to '%ls'. Object cannot be converted to type 'COSMMarkupUIElement'",
            content ? content->GetType()->GetMarkupClassName() : L"", GetType()->GetMarkupClassName()));
    }
    SetChild(element);
}

COSMMarkupInputElement* COSMMarkupInlineUIContainer::InputHitTest(int x, int y)
{
    COSMMarkupInputElement* hit = m_pChild ? m_pChild->InputHitTest(x, y) : nullptr;
    return hit ? hit : this;
}

INT_PTR COSMMarkupInlineUIContainer::GetFirstPosition()
{
    return m_pChild ? 0 : -1;
}

void COSMMarkupInlineUIContainer::GetNextPosition(INT_PTR& position)
{
    position = position == 0 ? 1 : -1;
}

BOOL COSMMarkupInlineUIContainer::IsWhiteSpace(INT_PTR position)
{
    return position == 0 || position == 1;
}

void COSMMarkupInlineUIContainer::Arrange(const RECT& rect, INT_PTR start, INT_PTR end)
{
    if (start == 0 && m_pChild)
        m_pChild->Arrange(rect);
}

CSize COSMMarkupInlineUIContainer::Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end)
{
    if (start != 0 || !m_pChild)
        return CSize(0, 0);
    m_pChild->Measure(dc, kInlineElementRoom, kInlineElementRoom);
    return m_pChild->GetDesiredSize();
}

void COSMMarkupInlineUIContainer::Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end)
{
    if (start == 0 && m_pChild)
        m_pChild->Render(dc);
}
