#include "classlib/OleDataObject.h"

#include <cstring>

namespace {

// Another program may hold the clipboard open for a moment: a few short tries before giving up.
const int kOpenAttempts = 5;
const DWORD kOpenRetryMs = 10;

// The clipboard, open for one scope.
class ClipboardSession
{
public:
    ClipboardSession()
    {
        for (int attempt = 0; attempt < kOpenAttempts && !m_bOpen; ++attempt)
        {
            if (attempt > 0)
                ::Sleep(kOpenRetryMs);
            m_bOpen = ::OpenClipboard(nullptr) != FALSE;
        }
    }
    ~ClipboardSession()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen = false;
};

// A locked view of a global block, unlocked at the end of its scope.
class GlobalView
{
public:
    explicit GlobalView(HGLOBAL hMem) : m_hMem(hMem), m_p(hMem ? ::GlobalLock(hMem) : nullptr) {}
    ~GlobalView()
    {
        if (m_p)
            ::GlobalUnlock(m_hMem);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;

    void* Data() const { return m_p; }

private:
    HGLOBAL m_hMem;
    void* m_p;
};

}  // namespace

BOOL COleDataObject::AttachClipboard()
{
    m_bClipboard = true;
    return TRUE;
}

void COleDataObject::Release()
{
    m_bClipboard = false;
    m_formats.clear();
    m_nextFormat = 0;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const
{
    return m_bClipboard && ::IsClipboardFormatAvailable(cfFormat);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const
{
    if (!m_bClipboard || !::IsClipboardFormatAvailable(cfFormat))
        return nullptr;
    ClipboardSession clipboard;
    if (!clipboard.IsOpen())
        return nullptr;
    // The clipboard's block stays the clipboard's: the caller gets a copy it may keep, change and free.
    HGLOBAL hSource = ::GetClipboardData(cfFormat);
    const SIZE_T size = hSource ? ::GlobalSize(hSource) : 0;
    if (size == 0)
        return nullptr;  // absent, or a handle that is not global memory (bitmaps, palettes ...)
    GlobalView source(hSource);
    if (!source.Data())
        return nullptr;
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
    if (!hCopy)
        return nullptr;
    {
        GlobalView copy(hCopy);
        if (!copy.Data())
        {
            ::GlobalFree(hCopy);
            return nullptr;
        }
        std::memcpy(copy.Data(), source.Data(), size);
    }
    return hCopy;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, STGMEDIUM* pStgMedium) const
{
    if (!pStgMedium || !m_bClipboard || !::IsClipboardFormatAvailable(cfFormat))
        return FALSE;
    ClipboardSession clipboard;
    if (!clipboard.IsOpen())
        return FALSE;
    HANDLE hData = ::GetClipboardData(cfFormat);
    if (!hData)
        return FALSE;
    *pStgMedium = STGMEDIUM{};
    pStgMedium->tymed = TYMED_GDI;
    pStgMedium->hBitmap = static_cast<HBITMAP>(hData);
    return TRUE;
}

void COleDataObject::BeginEnumFormats()
{
    m_formats.clear();
    m_nextFormat = 0;
    if (!m_bClipboard)
        return;
    ClipboardSession clipboard;
    if (!clipboard.IsOpen())
        return;
    for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format))
        m_formats.push_back(static_cast<CLIPFORMAT>(format));
}

BOOL COleDataObject::GetNextFormat(FORMATETC* pFormatEtc)
{
    if (!pFormatEtc || m_nextFormat >= m_formats.size())
        return FALSE;
    *pFormatEtc = FORMATETC{};
    pFormatEtc->cfFormat = m_formats[m_nextFormat++];
    pFormatEtc->dwAspect = DVASPECT_CONTENT;
    pFormatEtc->lindex = -1;
    // What the clipboard keeps as a GDI object, the rest in global memory.
    const CLIPFORMAT format = pFormatEtc->cfFormat;
    pFormatEtc->tymed = (format == CF_BITMAP || format == CF_PALETTE) ? TYMED_GDI
                        : (format == CF_ENHMETAFILE)                  ? TYMED_ENHMF
                                                                      : TYMED_HGLOBAL;
    return TRUE;
}
