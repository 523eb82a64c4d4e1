#include "classlib/OleDocument.h"

#include "classlib/Menu.h"
#include "classlib/View.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(COleClientItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
{
    if (pContainerDoc)
        pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem()
{
    Attach(nullptr);
    if (m_pDocument)
        m_pDocument->RemoveItem(this);
}

void COleClientItem::Attach(IOleObject* pObject)
{
    if (pObject)
        pObject->AddRef();
    if (m_lpObject)
        m_lpObject->Release();
    m_lpObject = pObject;
    m_nItemState = pObject ? loadedState : emptyState;
}

COleDocument::~COleDocument()
{
    // Each item leaves the vector as it is deleted.
    while (!m_items.empty())
        delete m_items.back();
}

void COleDocument::AddItem(COleClientItem* pItem)
{
    if (!pItem || pItem->m_pDocument == this)
        return;
    if (pItem->m_pDocument)
        pItem->m_pDocument->RemoveItem(pItem);
    m_items.push_back(pItem);
    pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(COleClientItem* pItem)
{
    auto found = std::find(m_items.begin(), m_items.end(), pItem);
    if (found == m_items.end())
        return;
    m_items.erase(found);
    pItem->m_pDocument = nullptr;
}

COleClientItem* COleDocument::GetItemAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetItemCount() ? m_items[static_cast<size_t>(nIndex)] : nullptr;
}

COleClientItem* COleDocument::GetInPlaceActiveItem() const
{
    for (COleClientItem* item : m_items)
    {
        if (item->IsInPlaceActive())
            return item;
    }
    return nullptr;
}

COleClientItem* COleDocument::GetPrimarySelectedItem(const CView* pView) const
{
    if (!pView)
        return nullptr;
    COleClientItem* selected = nullptr;
    for (COleClientItem* item : m_items)
    {
        if (!pView->IsSelected(item))
            continue;
        if (selected)
            return nullptr;
        selected = item;
    }
    return selected;
}

namespace {

// An OLE string in the ANSI code page; the object's memory is freed.
std::string TakeOleString(LPOLESTR text)
{
    std::string ansi;
    if (!text)
        return ansi;
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length > 1)
    {
        ansi.resize(static_cast<size_t>(length));
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], length, nullptr, nullptr);
        ansi.resize(static_cast<size_t>(length - 1));
    }
    ::CoTaskMemFree(text);
    return ansi;
}

struct ObjectVerb
{
    std::string name;
    UINT flags;
};

// The verbs the container shows, in the object's order, at most maxCount of them.
std::vector<ObjectVerb> ContainerMenuVerbs(IOleObject* object, size_t maxCount)
{
    std::vector<ObjectVerb> verbs;
    IEnumOLEVERB* enumerator = nullptr;
    if (FAILED(object->EnumVerbs(&enumerator)) || !enumerator)
        return verbs;
    OLEVERB verb{};
    ULONG fetched = 0;
    while (verbs.size() < maxCount && enumerator->Next(1, &verb, &fetched) == S_OK && fetched == 1)
    {
        std::string name = TakeOleString(verb.lpszVerbName);
        if (verb.lVerb < 0 || !(verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU))
            continue;
        // The object's own menu flags, only those that say how the entry looks.
        verbs.push_back({std::move(name), verb.fuFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK)});
    }
    enumerator->Release();
    return verbs;
}

}  // namespace

BOOL AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin, UINT nIDVerbMax,
                       UINT nIDConvert)
{
    if (!pClient || !pMenu || !pMenu->GetSafeHmenu() || nIDVerbMax < nIDVerbMin)
        return FALSE;
    IOleObject* object = pClient->GetOleObject();
    const int count = ::GetMenuItemCount(pMenu->GetSafeHmenu());
    if (!object || count < 0 || iMenuItem > static_cast<UINT>(count))
        return FALSE;

    LPOLESTR userType = nullptr;
    std::string typeName;
    if (SUCCEEDED(object->GetUserType(USERCLASSTYPE_SHORT, &userType)))
        typeName = TakeOleString(userType);
    const std::string objectName = typeName.empty() ? "&Object" : typeName + " &Object";
    const std::vector<ObjectVerb> verbs = ContainerMenuVerbs(object, nIDVerbMax - nIDVerbMin + 1);

    if (iMenuItem < static_cast<UINT>(count))
        pMenu->DeleteMenu(iMenuItem, MF_BYPOSITION);
    if (verbs.size() == 1 && !nIDConvert)
    {
        const std::string caption = verbs[0].name + " " + objectName;
        return pMenu->InsertMenu(iMenuItem, MF_BYPOSITION | MF_STRING | verbs[0].flags, nIDVerbMin, caption.c_str());
    }
    if (verbs.empty() && !nIDConvert)
        return pMenu->InsertMenu(iMenuItem, MF_BYPOSITION | MF_STRING | MF_GRAYED, nIDVerbMin, objectName.c_str());

    HMENU popup = ::CreatePopupMenu();
    if (!popup)
        return FALSE;
    UINT id = nIDVerbMin;
    for (const ObjectVerb& verb : verbs)
        ::AppendMenuA(popup, MF_STRING | verb.flags, id++, verb.name.c_str());
    if (nIDConvert)
    {
        if (!verbs.empty())
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(popup, MF_STRING, nIDConvert, "&Convert...");
    }
    if (!pMenu->InsertMenu(iMenuItem, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), objectName.c_str()))
    {
        ::DestroyMenu(popup);
        return FALSE;
    }
    return TRUE;
}
