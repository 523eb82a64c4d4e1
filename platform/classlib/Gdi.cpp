#include "classlib/Gdi.h"

#include "classlib/DC.h"
#include "classlib/ThreadState.h"

#include <cstdlib>
#include <memory>

using osm_classlib_detail::GetThreadState;

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)

void osm_classlib_detail::ClearTemporaryHandle(CGdiObject* pObject)
{
    pObject->m_hObject = nullptr;
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

HGDIOBJ CGdiObject::GetSafeHandle() const
{
    const CGdiObject* self = this;  // callers use this on null pointers; the library is built to allow it
    return self ? m_hObject : nullptr;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    if (!hObject)
        return nullptr;
    auto& map = GetThreadState().gdiObjects;
    if (CGdiObject* p = map.LookupPermanent(hObject))
        return p;
    if (CGdiObject* p = map.LookupTemporary(hObject))
        return p;
    // The wrapper's class follows the object's kind, so CFont::FromHandle(hFont) really is a CFont.
    std::unique_ptr<CGdiObject> wrapper;
    switch (::GetObjectType(hObject))
    {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        wrapper = std::make_unique<CPen>();
        break;
    case OBJ_BRUSH:
        wrapper = std::make_unique<CBrush>();
        break;
    case OBJ_FONT:
        wrapper = std::make_unique<CFont>();
        break;
    case OBJ_BITMAP:
        wrapper = std::make_unique<CBitmap>();
        break;
    case OBJ_REGION:
        wrapper = std::make_unique<CRgn>();
        break;
    default:
        wrapper = std::make_unique<CGdiObject>();
        break;
    }
    wrapper->m_hObject = hObject;
    return map.AddTemporary(hObject, std::move(wrapper), GetThreadState().dispatchDepth);
}

void PASCAL CGdiObject::DeleteTempMap()
{
    GetThreadState().gdiObjects.DeleteTemporaries(-1);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    ASSERT(m_hObject == nullptr);
    if (!hObject)
        return FALSE;
    m_hObject = hObject;
    // Two wrappers may own the same stock object; only the first one is found by FromHandle.
    GetThreadState().gdiObjects.SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject)
        GetThreadState().gdiObjects.RemovePermanent(hObject, this);
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

CBrush::CBrush(CBitmap* pBitmap)
{
    CreatePatternBrush(pBitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap && Attach(::CreatePatternBrush(*pBitmap));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename)
{
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName)
        lstrcpynA(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC)
{
    // lfHeight arrives in tenths of a point: turn it into device pixels of the DC's mapping mode.
    HDC hDC = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    LOGFONTA logFont = *lpLogFont;
    POINT pt{0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), logFont.lfHeight, 720)};
    POINT ptOrg{0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrg, 1);
    logFont.lfHeight = -std::abs(pt.y - ptOrg.y);
    if (!pDC)
        ::ReleaseDC(nullptr, hDC);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return pDC && Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}
