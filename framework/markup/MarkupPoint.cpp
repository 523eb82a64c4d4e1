#include "framework/markup/MarkupPoint.h"

#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupPoint, COSMMarkupObject, nullptr, nullptr)

COSMMarkupObject* COSMMarkupPoint::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    LPCWSTR p = GetMarkupText(value);
    double x = 0.0;
    double y = 0.0;
    if (!ParseMarkupNumberList(&p, &x, L',', FALSE) || !ParseMarkupNumberList(&p, &y, 0, TRUE))
        return nullptr;
    return new COSMMarkupPoint(x, y);
}
