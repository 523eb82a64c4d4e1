#include "framework/markup/MarkupCollection.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupObjectPool.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

IMPLEMENT_MARKUP_TYPE(COSMMarkupCollection, COSMMarkupObject, nullptr, nullptr)

COSMMarkupCollection::~COSMMarkupCollection()
{
    RemoveAll();
}

int COSMMarkupCollection::GetLogicalChildrenCount() const
{
    return m_nCount;
}

COSMMarkupObject* COSMMarkupCollection::GetLogicalChild(int index) const
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    return m_pItems[index];
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
    // Room first: when there is none, the throw leaves the item as it was handed in.
    Reserve(m_nCount + 1);
    if (m_bOwnsChildren)
        item->SetLogicalParent(this);
    if (index < 0 || index > m_nCount)
        index = m_nCount;
    std::memmove(m_pItems + index + 1, m_pItems + index, static_cast<size_t>(m_nCount - index) * sizeof(*m_pItems));
    m_pItems[index] = item;
    ++m_nCount;
    OnItemAdded(item, index);
}

void COSMMarkupCollection::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    COSMMarkupObject* item = m_pItems[index];
    std::memmove(m_pItems + index, m_pItems + index + 1, static_cast<size_t>(m_nCount - index - 1) * sizeof(*m_pItems));
    --m_nCount;
    Discard(item);
}

void COSMMarkupCollection::RemoveAll()
{
    while (m_nCount > 0)
        RemoveAt(m_nCount - 1);
    if (m_pItems)
        FreeMarkupObjectMemory(m_pItems, static_cast<size_t>(m_nCapacity) * sizeof(*m_pItems));
    m_pItems = nullptr;
    m_nCapacity = 0;
}

void COSMMarkupCollection::SetGrowBy(int growBy)
{
    if (growBy >= 0)
        m_nGrowBy = growBy;
}

void COSMMarkupCollection::Reserve(int count)
{
    if (count <= m_nCapacity)
        return;
    const int growBy = m_nGrowBy > 0 ? m_nGrowBy : std::min(1024, std::max(4, m_nCount / 8));
    const int grown = m_nCapacity > INT_MAX - growBy ? INT_MAX : m_nCapacity + growBy;
    const int capacity = m_nCapacity == 0 ? std::max(count, growBy) : std::max(count, grown);
    if (static_cast<size_t>(capacity) > SIZE_MAX / sizeof(*m_pItems))
        throw std::bad_alloc();
    auto* items =
        static_cast<COSMMarkupObject**>(AllocateMarkupObjectMemory(static_cast<size_t>(capacity) * sizeof(*m_pItems)));
    if (m_nCount)
        std::memcpy(items, m_pItems, static_cast<size_t>(m_nCount) * sizeof(*m_pItems));
    if (m_pItems)
        FreeMarkupObjectMemory(m_pItems, static_cast<size_t>(m_nCapacity) * sizeof(*m_pItems));
    m_pItems = items;
    m_nCapacity = capacity;
}

void COSMMarkupCollection::Discard(COSMMarkupObject* item)
{
    if (m_bOwnsChildren && item->GetLogicalParent() == this)
        item->SetLogicalParent(nullptr);
    item->Release();
}
