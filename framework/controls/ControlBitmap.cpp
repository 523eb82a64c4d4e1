#include "framework/controls/ControlBitmap.h"

#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"

IMPLEMENT_SERIAL(COSMControlBitmap, COSMControlLabel, VERSIONABLE_SCHEMA | 0x22)

COSMControlBitmap::COSMControlBitmap() = default;

COSMImageManagerIcon* COSMControlBitmap::GetBitmapImage() const
{
    COSMImageManager* images = GetImageManager();
    return images && m_id != 0 ? images->GetImage(m_id, 1) : nullptr;
}

CSize COSMControlBitmap::GetSize(CDC* dc)
{
    COSMImageManagerIcon* image = GetBitmapImage();
    return image ? image->GetExtent() : CSize(0, 0);
}

void COSMControlBitmap::Draw(CDC* dc)
{
    if (COSMImageManagerIcon* image = GetBitmapImage())
        image->DrawAtPoint(dc, GetRect().TopLeft());
}

COSMControl* COSMControlBitmap::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlBitmap*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
