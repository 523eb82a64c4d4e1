#include "framework/markup/MarkupCollection.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupCollection, COSMMarkupObject, nullptr, nullptr)

COSMMarkupCollection::~COSMMarkupCollection()
{
    RemoveAll();
}

int COSMMarkupCollection::GetLogicalChildrenCount() const
{
    return static_cast<int>(m_items.GetSize());
}

COSMMarkupObject* COSMMarkupCollection::GetLogicalChild(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return static_cast<COSMMarkupObject*>(m_items[index]);
}

void COSMMarkupCollection::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    if (!IsKindOf(content, m_pElementType))
    {
        LPCWSTR contentClass = content ? content->GetType()->GetMarkupClassName() : L"";
        LPCWSTR elementClass = m_pElementType ? m_pElementType->GetMarkupClassName() : L"";
        COSMMarkupBuilder::ThrowBuilderException(
            FormatMarkupMessage3("'%ls' object cannot be added to '%ls'. Object cannot be converted to type '%ls'",
                                 contentClass, GetType()->GetMarkupClassName(), elementClass));
    }
    Add(content);
}

BOOL COSMMarkupCollection::HasContentObject() const
{
    return GetCount() > 0;
}

void COSMMarkupCollection::OnItemAdded(COSMMarkupObject* item, int index) {}

void COSMMarkupCollection::Insert(int index, COSMMarkupObject* item)
{
    if (!IsKindOf(item, m_pElementType))
    {
        // Taken over all the same: what the collection refuses is not left to leak.
        if (item)
            item->Release();
        return;
    }
    if (m_bOwnsChildren)
        item->SetLogicalParent(this);
    if (index < 0 || index > GetCount())
        index = GetCount();
    m_items.InsertAt(index, item);
    OnItemAdded(item, index);
}

void COSMMarkupCollection::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    COSMMarkupObject* item = GetItem(index);
    m_items.RemoveAt(index);
    Discard(item);
}

void COSMMarkupCollection::RemoveAll()
{
    while (GetCount() > 0)
        RemoveAt(GetCount() - 1);
    m_items.RemoveAll();
}

void COSMMarkupCollection::SetGrowBy(int growBy)
{
    m_items.SetSize(m_items.GetSize(), growBy);
}

void COSMMarkupCollection::Discard(COSMMarkupObject* item)
{
    if (m_bOwnsChildren && item->GetLogicalParent() == this)
        item->SetLogicalParent(nullptr);
    item->Release();
}
