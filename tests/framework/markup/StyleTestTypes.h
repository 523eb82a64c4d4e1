// What the style and trigger tests build with: an element that logs every property change it is told of, with the
// values as text, a type derived from it (implicit styles are for exactly one type), and the helpers that find an
// element by Name and describe a value.
//
//   <OsmStyleProbe Name="a" Style="{StaticResource s}"/>    probe->TakeLog() == {"Tag: styled -> hover"}
#pragma once

#include "MarkupTestSupport.h"
#include "framework/markup/MarkupFrameworkElement.h"

#include <string>
#include <vector>

namespace markup_test {

// "OsmStyleProbe": logs "<property>: <old> -> <new>" for every OnPropertyChanged.
class CStyleProbe : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(CStyleProbe)

public:
    CStyleProbe() = default;

    void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue) override;

    // The log so far, emptied.
    std::vector<std::string> TakeLog();
    // The entries of the log so far that name property, emptied.
    std::vector<std::string> TakeLogOf(LPCWSTR property);

private:
    std::vector<std::string> m_log;
};

// "OsmDerivedStyleProbe".
class CDerivedStyleProbe : public CStyleProbe
{
    DECLARE_MARKUP_TYPE(CDerivedStyleProbe)
};

// A value as text: "null", a string's text, a number, "True"/"False", a solid brush's colour as "#RRGGBB" (the
// COLORREF's hex digits), else the class name.
std::string DescribeValue(const COSMMarkupObject* value);

}  // namespace markup_test
