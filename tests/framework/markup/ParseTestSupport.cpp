#include "ParseTestSupport.h"

#include "GuardedText.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupType.h"

namespace markup_test {

COLORREF ColorOf(const COSMMarkupObject* value)
{
    if (const COSMMarkupBrush* brush = MarkupDynamicCast<COSMMarkupBrush>(value))
        return brush->GetRepresentativeColor();
    if (const COSMMarkupColor* color = MarkupDynamicCast<COSMMarkupColor>(value))
        return color->GetValue() & 0xFFFFFF;
    return CLR_INVALID;
}

void ParseTest::SetUp()
{
    MarkupTest::SetUp();
    context = new COSMMarkupContext;
}

void ParseTest::TearDown()
{
    context->Release();
    context = nullptr;
    MarkupTest::TearDown();
}

COSMMarkupUIElement* ParseTest::Parse(const std::string& text, std::string* error, UINT codePage)
{
    const GuardedText guarded(text);
    COSMMarkupXmlReader reader;
    reader.SetInput(guarded.Begin(), guarded.End());
    reader.SetCodePage(codePage);
    COSMMarkupBuilder builder(context);
    COSMMarkupUIElement* root = builder.Parse(&reader);
    if (error)
        *error = builder.GetLastErrorMessage();
    return root;
}

std::string ParseTest::ParseError(const std::string& text, UINT codePage)
{
    std::string error;
    if (COSMMarkupUIElement* root = Parse(text, &error, codePage))
    {
        root->Release();
        return "(parsed)";
    }
    return error;
}

}  // namespace markup_test
