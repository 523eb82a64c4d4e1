#include "StyleTestTypes.h"

#include "ReaderTestSupport.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

namespace markup_test {

IMPLEMENT_MARKUP_TYPE(CStyleProbe, COSMMarkupFrameworkElement, L"OsmStyleProbe", nullptr)
IMPLEMENT_MARKUP_TYPE(CDerivedStyleProbe, CStyleProbe, L"OsmDerivedStyleProbe", nullptr)

void CStyleProbe::OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                    COSMMarkupObject* newValue)
{
    m_log.push_back(Utf8(property->GetName()) + ": " + DescribeValue(oldValue) + " -> " + DescribeValue(newValue));
    COSMMarkupFrameworkElement::OnPropertyChanged(property, oldValue, newValue);
}

std::vector<std::string> CStyleProbe::TakeLog()
{
    std::vector<std::string> log;
    log.swap(m_log);
    return log;
}

std::vector<std::string> CStyleProbe::TakeLogOf(LPCWSTR property)
{
    const std::string prefix = Utf8(property) + ": ";
    std::vector<std::string> log;
    for (const std::string& entry : TakeLog())
    {
        if (entry.compare(0, prefix.size(), prefix) == 0)
            log.push_back(entry);
    }
    return log;
}

std::string DescribeValue(const COSMMarkupObject* value)
{
    if (!value)
        return "null";
    if (const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value))
        return Utf8(text->GetText());
    if (const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value))
        return std::to_string(number->GetValue());
    if (const COSMMarkupEnum* enumerated = MarkupDynamicCast<COSMMarkupEnum>(value))
        return std::to_string(enumerated->GetValue());
    if (const COSMMarkupBool* flag = MarkupDynamicCast<COSMMarkupBool>(value))
        return flag->GetValue() ? "True" : "False";
    if (const COSMMarkupSolidColorBrush* brush = MarkupDynamicCast<COSMMarkupSolidColorBrush>(value))
    {
        char text[16];
        snprintf(text, sizeof(text), "#%06lX", static_cast<unsigned long>(brush->GetRepresentativeColor()));
        return text;
    }
    return Utf8(value->GetType()->GetMarkupClassName());
}

}  // namespace markup_test
