// COleDocObjectItem is the item of a container document whose object is a document object: an object that, activated
// in place, takes over the whole frame (its client area, menus and tools) instead of a rectangle in a view. The bars
// of a frame tell it from a plain COleClientItem by its class, and leave the frame's menus to the object while it
// runs in place:
//
//   auto* item = new COleDocObjectItem(&document);   // the document deletes its items
//   item->Attach(oleObject);
//   COleClientItem* active = document.GetInPlaceActiveItem();
//   if (active && active->IsKindOf(RUNTIME_CLASS(COleDocObjectItem)))
//       ...  // the object owns the frame's menus now
//
// This library does not activate objects itself: whoever does sets the item's state (SetItemState).
#pragma once

#include "classlib/OleDocument.h"

class COleDocObjectItem : public COleClientItem
{
    DECLARE_DYNAMIC(COleDocObjectItem)

public:
    // Joins the document when one is given.
    explicit COleDocObjectItem(COleDocument* pContainerDoc = nullptr);
    ~COleDocObjectItem() override;
};
