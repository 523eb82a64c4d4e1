#include "MarkupBuilderTestTypes.h"

#include "ReaderTestSupport.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <new>

namespace markup_test {

IMPLEMENT_MARKUP_TYPE(CRecorder, COSMMarkupFrameworkElement, L"OsmRecorder", &CRecorder::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(CStrictRecorder, CRecorder, L"OsmStrictRecorder", nullptr)
IMPLEMENT_MARKUP_TYPE(CBox, COSMMarkupFrameworkElement, L"OsmBox", nullptr)
IMPLEMENT_MARKUP_TYPE(CThrowing, COSMMarkupFrameworkElement, L"OsmThrowing", nullptr)

COSMMarkupDependencyProperty* CRecorder::s_pNumberProperty = nullptr;

void CRecorder::RegisterMarkupProperties()
{
    s_pNumberProperty =
        COSMMarkupDependencyProperty::RegisterAttached(L"Number", COSMMarkupInt::GetClassType(), GetClassType());
}

CRecorder::~CRecorder()
{
    for (COSMMarkupObject* content : m_content)
        content->Release();
}

void CRecorder::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    m_content.push_back(content);
}

BOOL CRecorder::HasContentObject() const
{
    return !m_content.empty();
}

BOOL CRecorder::AllowWhiteSpaceContent() const
{
    return TRUE;
}

std::vector<std::string> CRecorder::DescribeContent() const
{
    std::vector<std::string> lines;
    for (const COSMMarkupObject* content : m_content)
    {
        if (LPCWSTR text = GetMarkupText(content))
            lines.push_back("\"" + Utf8(text) + "\"");
        else
            lines.push_back("<" + Utf8(content->GetTagName() ? content->GetTagName() : L"?") + ">");
    }
    return lines;
}

BOOL CStrictRecorder::AllowWhiteSpaceContent() const
{
    return FALSE;
}

void CThrowing::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    throw std::bad_alloc();
}

}  // namespace markup_test
