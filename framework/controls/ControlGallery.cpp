#include "framework/controls/ControlGallery.h"

IMPLEMENT_SERIAL(COSMControlGallery, COSMControlPopup, VERSIONABLE_SCHEMA | 0x22)

namespace {

const int kGalleryWidth = 120;
const int kGalleryHeight = 60;
const DWORD kGalleryFlags = 64;

}  // namespace

COSMControlGallery::COSMControlGallery()
{
    m_type = kType;
    m_width = kGalleryWidth;
    m_height = kGalleryHeight;
    m_flags = kGalleryFlags;
}

COSMControl* COSMControlGallery::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlGallery*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
