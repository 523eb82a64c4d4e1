// COleDataObject::GetData: the clipboard's data as a storage medium, for the formats that do not live in global
// memory (bitmaps) as well as for those that do.
#include "classlib/OleDataObject.h"

namespace {

// A copy of the clipboard's bitmap, the clipboard's own staying the clipboard's; 32-bit images stay 32-bit sections
// so that their alpha survives.
HBITMAP CopyClipboardBitmap()
{
    if (!::OpenClipboard(nullptr))
        return nullptr;
    HBITMAP copy = nullptr;
    if (auto source = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
    {
        BITMAP info{};
        if (::GetObjectA(source, sizeof(info), &info) == sizeof(info))
            copy = static_cast<HBITMAP>(
                ::CopyImage(source, IMAGE_BITMAP, 0, 0, info.bmBitsPixel == 32 ? LR_CREATEDIBSECTION : 0));
    }
    ::CloseClipboard();
    return copy;
}

}  // namespace

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) const
{
    if (!lpStgMedium || !m_bClipboard || !::IsClipboardFormatAvailable(cfFormat))
        return FALSE;
    *lpStgMedium = STGMEDIUM{};
    const DWORD asked =
        lpFormatEtc ? lpFormatEtc->tymed : static_cast<DWORD>(cfFormat == CF_BITMAP ? TYMED_GDI : TYMED_HGLOBAL);
    if (cfFormat == CF_BITMAP)
    {
        if (!(asked & TYMED_GDI))
            return FALSE;
        HBITMAP copy = CopyClipboardBitmap();
        if (!copy)
            return FALSE;
        lpStgMedium->tymed = TYMED_GDI;
        lpStgMedium->hBitmap = copy;
        return TRUE;
    }
    if (!(asked & TYMED_HGLOBAL))
        return FALSE;
    HGLOBAL copy = GetGlobalData(cfFormat);
    if (!copy)
        return FALSE;
    lpStgMedium->tymed = TYMED_HGLOBAL;
    lpStgMedium->hGlobal = copy;
    return TRUE;
}
