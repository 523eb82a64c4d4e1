#include "framework/markup/MarkupToggleButton.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupRoutedEvent.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupToggleButton, COSMMarkupButtonBase, nullptr,
                      &COSMMarkupToggleButton::RegisterMarkupProperties)

COSMMarkupRoutedEvent* COSMMarkupToggleButton::s_pCheckedEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupToggleButton::s_pUncheckedEvent = nullptr;
COSMMarkupRoutedEvent* COSMMarkupToggleButton::s_pIndeterminateEvent = nullptr;
COSMMarkupDependencyProperty* COSMMarkupToggleButton::s_pIsCheckedProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupToggleButton::s_pIsThreeStateProperty = nullptr;

void COSMMarkupToggleButton::RegisterMarkupProperties()
{
    using Metadata = COSMMarkupPropertyMetadata;
    using Event = COSMMarkupRoutedEvent;
    COSMMarkupType* type = GetClassType();
    s_pCheckedEvent = Event::RegisterEvent(L"Checked", type, Event::Bubble);
    s_pUncheckedEvent = Event::RegisterEvent(L"Unchecked", type, Event::Bubble);
    s_pIndeterminateEvent = Event::RegisterEvent(L"Indeterminate", type, Event::Bubble);
    s_pIsCheckedProperty =
        COSMMarkupDependencyProperty::Register(L"IsChecked", COSMMarkupEnum::GetClassType(), type,
                                               new Metadata(COSMMarkupEnum::CreateValue(0), &IsCheckedFromString,
                                                            &OnIsCheckedChanged, Metadata::AffectsRender));
    s_pIsThreeStateProperty = COSMMarkupDependencyProperty::Register(
        L"IsThreeState", COSMMarkupBool::GetClassType(), type,
        new Metadata(COSMMarkupBool::CreateFalseValue(), Metadata::AffectsRender));
}

COSMMarkupToggleButton::~COSMMarkupToggleButton() = default;

COSMMarkupObject* COSMMarkupToggleButton::IsCheckedFromString(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    if (!text)
        return nullptr;
    if (text->GetLength() == 0)
        return COSMMarkupEnum::CreateValue(Indeterminate);
    if (_wcsicmp(text->GetText(), L"True") == 0)
        return COSMMarkupEnum::CreateValue(Checked);
    if (_wcsicmp(text->GetText(), L"False") == 0)
        return COSMMarkupEnum::CreateValue(Unchecked);
    return nullptr;
}

void COSMMarkupToggleButton::OnIsCheckedChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    COSMMarkupToggleButton* button = MarkupDynamicCast<COSMMarkupToggleButton>(object);
    if (!button)
        return;
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(change->newValue);
    const int state = value ? value->GetValue() : Unchecked;
    if (state == Checked)
    {
        COSMMarkupRoutedEventArgs args(s_pCheckedEvent);
        button->OnChecked(&args);
    }
    else if (state == Unchecked)
    {
        COSMMarkupRoutedEventArgs args(s_pUncheckedEvent);
        button->OnUnchecked(&args);
    }
    else
    {
        COSMMarkupRoutedEventArgs args(s_pIndeterminateEvent);
        button->OnIndeterminate(&args);
    }
}

int COSMMarkupToggleButton::GetIsChecked() const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pIsCheckedProperty));
    return value ? value->GetValue() : Unchecked;
}

void COSMMarkupToggleButton::SetIsChecked(int state)
{
    SetValue(s_pIsCheckedProperty, COSMMarkupEnum::CreateValue(state));
}

BOOL COSMMarkupToggleButton::GetIsThreeState() const
{
    return GetMarkupBoolValue(this, s_pIsThreeStateProperty);
}

void COSMMarkupToggleButton::OnClick()
{
    // Handlers of the state's events may let go of the button.
    const RefPtr<COSMMarkupObject> hold = RefPtr<COSMMarkupObject>::Retain(this);
    OnToggle();
    COSMMarkupButtonBase::OnClick();
}

void COSMMarkupToggleButton::OnToggle()
{
    switch (GetIsChecked())
    {
    case Unchecked:
        SetIsChecked(Checked);
        break;
    case Checked:
        SetIsChecked(GetIsThreeState() ? Indeterminate : Unchecked);
        break;
    default:
        SetIsChecked(Unchecked);
        break;
    }
}

void COSMMarkupToggleButton::OnChecked(COSMMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}

void COSMMarkupToggleButton::OnUnchecked(COSMMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}

void COSMMarkupToggleButton::OnIndeterminate(COSMMarkupRoutedEventArgs* args)
{
    RaiseEvent(args);
}
