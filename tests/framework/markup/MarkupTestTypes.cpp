#include "MarkupTestTypes.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

namespace markup_test {

std::vector<RecordedChange> g_recordedChanges;
int g_converterQuestions = 0;

namespace {

int AsNumber(const COSMMarkupObject* value)
{
    const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value);
    return number ? number->GetValue() : RecordedChange::kNoValue;
}

void RecordChange(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    g_recordedChanges.push_back({object, change->property, AsNumber(change->oldValue), AsNumber(change->newValue)});
}

COSMMarkupObject* ConvertHundred(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    ++g_converterQuestions;
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    return text && wcscmp(text->GetText(), L"hundred") == 0 ? new COSMMarkupInt(100) : nullptr;
}

}  // namespace

IMPLEMENT_MARKUP_TYPE(CTestNode, COSMMarkupObject, nullptr, &CTestNode::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COtherNode, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(CTwinFirst, COSMMarkupObject, L"OsmTestTwin", nullptr)
IMPLEMENT_MARKUP_TYPE(CTwinSecond, COSMMarkupObject, L"OsmTestTwin", nullptr)

COSMMarkupDependencyProperty* CTestNode::s_pInheritedProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pCountProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pTextProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pConvertedProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pFillProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pKindProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pSharedProperty = nullptr;
COSMMarkupDependencyProperty* CTestNode::s_pDockProperty = nullptr;

void CTestNode::RegisterMarkupProperties()
{
    COSMMarkupType* const intType = COSMMarkupInt::GetClassType();
    s_pInheritedProperty = COSMMarkupDependencyProperty::Register(
        L"Inherited", intType, GetClassType(),
        new COSMMarkupPropertyMetadata(new COSMMarkupInt(0), RecordChange, COSMMarkupPropertyMetadata::Inherits));
    s_pCountProperty = COSMMarkupDependencyProperty::Register(L"Count", intType, GetClassType(),
                                                              new COSMMarkupPropertyMetadata(nullptr, RecordChange, 0));
    s_pTextProperty = COSMMarkupDependencyProperty::Register(L"Text", COSMMarkupString::GetClassType(), GetClassType());
    s_pConvertedProperty = COSMMarkupDependencyProperty::Register(
        L"Converted", intType, GetClassType(), new COSMMarkupPropertyMetadata(nullptr, ConvertHundred, 0));
    s_pFillProperty = COSMMarkupDependencyProperty::Register(L"Fill", COSMMarkupBrush::GetClassType(), GetClassType());
    s_pKindProperty = COSMMarkupDependencyProperty::Register(L"Kind", COSMMarkupType::GetClassType(), GetClassType());
    s_pSharedProperty = COSMMarkupDependencyProperty::Register(L"Shared", intType, GetClassType());
    s_pDockProperty = COSMMarkupDependencyProperty::RegisterAttached(L"Dock", intType, GetClassType());
}

COSMMarkupObject* CTreeNode::AddChild(COSMMarkupObject* child)
{
    child->SetLogicalParent(this);
    m_children.push_back(child);
    return child;
}

COSMMarkupObject* CTreeNode::GetLogicalChild(int index) const
{
    return index >= 0 && index < GetLogicalChildrenCount() ? m_children[static_cast<size_t>(index)] : nullptr;
}

CTreeNode::~CTreeNode()
{
    for (COSMMarkupObject* child : m_children)
    {
        child->SetLogicalParent(nullptr);
        child->Release();
    }
}

CRecordingCollection::CRecordingCollection()
{
    SetElementType(COSMMarkupInt::GetClassType());
}

void CRecordingCollection::OnItemAdded(COSMMarkupObject* item, int index)
{
    addedAt.push_back(index);
}

}  // namespace markup_test
