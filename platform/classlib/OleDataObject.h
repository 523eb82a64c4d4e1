// COleDataObject is the reading side of a data transfer. Attached to the clipboard, it answers which formats are
// there and hands out copies of their data, through the plain clipboard calls (no OLE start-up is needed):
//
//   COleDataObject data;
//   data.AttachClipboard();
//   if (HGLOBAL hCopy = data.GetGlobalData(cfIcons)) {     // the caller's copy
//       CSharedFile file;
//       if (!file.SetHandle(hCopy, FALSE))                  // taken: freed with the file
//           ::GlobalFree(hCopy);                            // not taken: still ours
//       CArchive ar(&file, CArchive::load);
//       ...
//   }
//
// The clipboard is opened only for the moment of each call, so holding a COleDataObject never blocks other programs.
#pragma once

#include "classlib/ClassLibBase.h"

#include <objidl.h>  // FORMATETC, STGMEDIUM
#include <vector>
#include <wtypes.h>  // CLIPFORMAT

class COleDataObject
{
public:
    COleDataObject() = default;
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // From now on the object reads the clipboard. TRUE.
    BOOL AttachClipboard();
    // Lets go of the source; the object has no data until attached again.
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A new GMEM_MOVEABLE | GMEM_SHARE block holding a copy of the data in that format (the caller frees it), or
    // null when the format is absent, is not kept in global memory, or the clipboard cannot be opened.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;
    // The data of a format the clipboard keeps as a GDI object (CF_BITMAP, CF_PALETTE ...): TYMED_GDI with the
    // clipboard's own handle, borrowed: it stays the clipboard's, so the medium is not to be released. FALSE when
    // the format is absent or the clipboard cannot be opened.
    BOOL GetData(CLIPFORMAT cfFormat, STGMEDIUM* pStgMedium) const;

    // The formats on offer, in the clipboard's order, as a snapshot taken by BeginEnumFormats:
    //   data.BeginEnumFormats();
    //   FORMATETC format;
    //   while (data.GetNextFormat(&format)) ... format.cfFormat ...
    void BeginEnumFormats();
    BOOL GetNextFormat(FORMATETC* pFormatEtc);

private:
    bool m_bClipboard = false;
    std::vector<CLIPFORMAT> m_formats;
    size_t m_nextFormat = 0;
};
