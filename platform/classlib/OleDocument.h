// COleDocument is a document that holds embedded or linked objects, each through a COleClientItem that keeps the
// object's IOleObject and how far it is activated. A container's "Object" menu entry is filled from the verbs the
// selected item's object offers (AfxOleSetEditMenu):
//
//   COleDocument document;
//   auto* item = new COleClientItem(&document);     // the document deletes its items
//   item->Attach(oleObject);                         // one reference taken
//   if (COleClientItem* selected = document.GetPrimarySelectedItem(view))
//       AfxOleSetEditMenu(selected, &menu, 2, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
#pragma once

#include "classlib/DocTemplate.h"

#include <ole2.h>

#include <vector>

class CMenu;
class CView;
class COleDocument;

class COleClientItem : public CCmdTarget
{
    DECLARE_DYNAMIC(COleClientItem)

public:
    // How far the item is activated.
    enum ItemState
    {
        emptyState = 0,     // no object
        loadedState = 1,    // an object, not running
        activeState = 2,    // running in place, inactive
        openState = 3,      // open in a window of its own
        activeUIState = 4,  // running in place with its menus and tools
    };

    // Joins the document when one is given.
    explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
    // Releases the object and leaves the document.
    ~COleClientItem() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Takes a reference on the object (null lets go of the one held); the item becomes loaded (empty for null).
    void Attach(IOleObject* pObject);
    // Not referenced for the caller.
    IOleObject* GetOleObject() const { return m_lpObject; }
    ItemState GetItemState() const { return m_nItemState; }
    void SetItemState(ItemState nState) { m_nItemState = nState; }
    // Running in place: active, with or without its menus and tools.
    BOOL IsInPlaceActive() const { return m_nItemState == activeState || m_nItemState == activeUIState; }
    COleDocument* GetDocument() const { return m_pDocument; }

private:
    friend class COleDocument;
    IOleObject* m_lpObject = nullptr;
    ItemState m_nItemState = emptyState;
    COleDocument* m_pDocument = nullptr;
};

class COleDocument : public CDocument
{
    DECLARE_DYNAMIC(COleDocument)

public:
    COleDocument() = default;
    // Deletes the items it still holds.
    ~COleDocument() override;
    COleDocument(const COleDocument&) = delete;
    COleDocument& operator=(const COleDocument&) = delete;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The item joins (or leaves) the document, which then deletes it with itself.
    void AddItem(COleClientItem* pItem);
    void RemoveItem(COleClientItem* pItem);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    COleClientItem* GetItemAt(int nIndex) const;
    // The one item the view says is selected; null when none or several are.
    COleClientItem* GetPrimarySelectedItem(const CView* pView) const;
    // The item running in place (IsInPlaceActive); a document has one at most at a time. Null when none is.
    COleClientItem* GetInPlaceActiveItem() const;

private:
    std::vector<COleClientItem*> m_items;
};

// Fills position iMenuItem of the menu with the verbs of the item's object, the way containers show them in their
// Edit menu: several verbs give a popup named "<short type name> &Object" holding them, one verb a plain item
// "<verb> <short type name> &Object", none a greyed "&Object". Verb ids run from nIDVerbMin (the first verb shown) to
// nIDVerbMax; verbs with negative numbers and those not meant for the container's menu are left out. With nIDConvert
// the popup ends with "&Convert..." after a separator. Whatever stood at the position is replaced; FALSE when no
// item or object, or the position lies past the end (the menu is left as it was then).
BOOL AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin, UINT nIDVerbMax,
                       UINT nIDConvert = 0);
