#include "classlib/OleDocObjectItem.h"

IMPLEMENT_DYNAMIC(COleDocObjectItem, COleClientItem)

COleDocObjectItem::COleDocObjectItem(COleDocument* pContainerDoc) : COleClientItem(pContainerDoc) {}

COleDocObjectItem::~COleDocObjectItem() = default;
