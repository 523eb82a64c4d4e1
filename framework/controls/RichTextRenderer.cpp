// The rich-text renderer: a windowless host of RICHED20's text services (see the header).
#include "framework/controls/RichTextRenderer.h"

#include "classlib/MemFile.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/TipWidthSearch.h"

// The host's own IID, which the interface map asks of its type.
__CRT_UUID_DECL(ITextHost, 0x13e670f4, 0x1a5a, 0x11cf, 0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1)

const IID IID_OSMTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

namespace {

HMODULE LoadRichEdit20()
{
    return ::LoadLibraryA("RICHED20.dll");
}

PCreateTextServices FindCreateTextServices(HMODULE hModule)
{
    return reinterpret_cast<PCreateTextServices>(::GetProcAddress(hModule, "CreateTextServices"));
}

void FreeRichEdit20(HMODULE hModule)
{
    ::FreeLibrary(hModule);
}

// Hands the text services the bytes of the memory file the cookie names.
DWORD CALLBACK RichTextStreamInCallback(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    auto* pFile = reinterpret_cast<CMemFile*>(dwCookie);
    *pcb = static_cast<LONG>(pFile->Read(pbBuff, static_cast<UINT>(cb)));
    return 0;
}

}  // namespace

const COSMTextServicesLoader& COSMTextServicesLoader::System()
{
    static const COSMTextServicesLoader loader = {&LoadRichEdit20, &FindCreateTextServices, &FreeRichEdit20};
    return loader;
}

BEGIN_INTERFACE_MAP(COSMRichTextRenderer, CCmdTarget)
    INTERFACE_PART(ITextHost, m_xTextHost)
END_INTERFACE_MAP()

COSMRichTextRenderer::COSMRichTextRenderer(const COSMTextServicesLoader& loader) : m_loader(loader)
{
    NONCLIENTMETRICSA metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    InitNonClientMetrics(&metrics);
    const LOGFONTA& messageFont = metrics.lfMessageFont;

    ZeroMemory(&m_defaultCharFormat, sizeof(m_defaultCharFormat));
    m_defaultCharFormat.cbSize = sizeof(m_defaultCharFormat);
    m_defaultCharFormat.dwMask =
        CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    {
        HDC hScreen = ::GetDC(nullptr);
        m_defaultCharFormat.yHeight = -::MulDiv(messageFont.lfHeight, 1440, ::GetDeviceCaps(hScreen, LOGPIXELSY));
        ::ReleaseDC(nullptr, hScreen);
    }
    m_defaultCharFormat.crTextColor = ::GetSysColor(COLOR_BTNTEXT);
    ::MultiByteToWideChar(CP_ACP, 0, messageFont.lfFaceName, -1, m_defaultCharFormat.szFaceName, LF_FACESIZE);
    m_defaultCharFormat.szFaceName[LF_FACESIZE - 1] = L'\0';

    ZeroMemory(&m_defaultParaFormat, sizeof(m_defaultParaFormat));
    m_defaultParaFormat.cbSize = sizeof(m_defaultParaFormat);
    m_defaultParaFormat.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS |
                                 PFM_NUMBERING | PFM_RTLPARA | PFM_OFFSETINDENT;
    m_defaultParaFormat.wAlignment = PFA_LEFT;

    m_hTextServicesLibrary = m_loader.pfnLoadLibrary();
    if (!m_hTextServicesLibrary)
        return;
    PCreateTextServices pfnCreate = m_loader.pfnGetCreateTextServices(m_hTextServicesLibrary);
    IUnknown* pUnknown = nullptr;
    if (pfnCreate && SUCCEEDED(pfnCreate(nullptr, &m_xTextHost, &pUnknown)) && pUnknown)
    {
        void* pTextServices = nullptr;
        if (SUCCEEDED(pUnknown->QueryInterface(IID_OSMTextServices, &pTextServices)))
            m_pTextServices = static_cast<ITextServices*>(pTextServices);
        pUnknown->Release();
    }
}

COSMRichTextRenderer::~COSMRichTextRenderer()
{
    // The text services' code lives in the library: they go first.
    if (m_pTextServices)
    {
        m_pTextServices->Release();
        m_pTextServices = nullptr;
    }
    if (m_hTextServicesLibrary)
        m_loader.pfnFreeLibrary(m_hTextServicesLibrary);
}

LRESULT COSMRichTextRenderer::SendToTextServices(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    m_pTextServices->TxSendMessage(nMessage, wParam, lParam, &result);
    return result;
}

void COSMRichTextRenderer::SetDefaultCharFormat(const CHARFORMATW* pcf)
{
    m_defaultCharFormat = *pcf;
    if (m_pTextServices)
        SendToTextServices(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_defaultCharFormat));
}

int COSMRichTextRenderer::StreamIn(const char* lpszText, UINT nFormat)
{
    // The file only reads the caller's bytes: it neither grows nor writes them.
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(lpszText)), static_cast<UINT>(::lstrlenA(lpszText)));
    EDITSTREAM stream;
    ZeroMemory(&stream, sizeof(stream));
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&file);
    stream.pfnCallback = &RichTextStreamInCallback;
    return static_cast<int>(SendToTextServices(EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&stream)));
}

int COSMRichTextRenderer::SetText(const char* lpszText)
{
    if (!m_pTextServices)
        return 0;
    if (!lpszText || !*lpszText)
    {
        m_pTextServices->TxSetText(L"");
        return 0;
    }
    if (lpszText[0] == '{')
    {
        const int read = StreamIn(lpszText, SF_RTF);
        if (read > 0)
            return read;
    }
    // Not RTF, or RTF that yields nothing: the text as it stands, brace included.
    return StreamIn(lpszText, SF_TEXT);
}

CSize COSMRichTextRenderer::GetTextExtent(CDC* pDC, int nMaxWidth)
{
    if (!m_pTextServices)
        return CSize(0, 0);
    SendToTextServices(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    m_sizeRequested = CSize(0, 0);
    HDC hDC = pDC->GetSafeHdc();
    // A pass into a rectangle one pixel high with an empty update rectangle lays the text out and paints nothing;
    // the text services tell the size it took through EN_REQUESTRESIZE, but only when it changed. The width they
    // tell is that of the widest line, a few pixels less than the text needs to keep its lines, so the search goes
    // by the width of the pass and the height told.
    bool firstPass = true;
    auto layOutAt = [this, hDC, &firstPass](int nWidth) {
        RECTL bounds = {0, 0, nWidth, 1};
        RECT update = {0, 0, 0, 0};
        m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, &bounds, nullptr, &update, nullptr,
                                0, TXTVIEW_ACTIVE);
        // A text measured before at the same size tells nothing new: ask for the size once.
        if (firstPass && m_sizeRequested.cy == 0)
            SendToTextServices(EM_REQUESTRESIZE, 0, 0);
        firstPass = false;
        return CSize(nWidth, m_sizeRequested.cy);
    };
    return OsmSearchRichTextExtent(nMaxWidth, ::GetSystemMetrics(SM_CXSCREEN), layOutAt);
}

void COSMRichTextRenderer::DrawText(CDC* pDC, const RECT* prc)
{
    if (!m_pTextServices)
        return;
    const RECTL bounds = {prc->left, prc->top, prc->right, prc->bottom};
    m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, pDC->GetSafeHdc(), nullptr, &bounds, nullptr,
                            nullptr, nullptr, 0, TXTVIEW_ACTIVE);
}

HRESULT COSMRichTextRenderer::XTextHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = m_pOwner->GetInterface(riid);
    return *ppvObject ? S_OK : E_NOINTERFACE;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetViewInset(LPRECT prc)
{
    ::SetRectEmpty(prc);
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    *ppCF = &Renderer()->m_defaultCharFormat;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    *ppPF = &Renderer()->m_defaultParaFormat;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetBackStyle(TXTBACKSTYLE* pstyle)
{
    *pstyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetMaxLength(DWORD* plength)
{
    *plength = 16 * 1024 * 1024;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    *pdwScrollBar = 0;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetAcceleratorPos(LONG* pcp)
{
    *pcp = -1;
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    *pdwBits = dwMask & (TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP);
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxNotify(DWORD iNotify, void* pv)
{
    if (iNotify == EN_REQUESTRESIZE && pv)
    {
        const RECT& rc = static_cast<const REQRESIZE*>(pv)->rc;
        Renderer()->m_sizeRequested = CSize(rc.right - rc.left, rc.bottom - rc.top);
    }
    return S_OK;
}

HRESULT COSMRichTextRenderer::XTextHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    *lSelBarWidth = 0;
    return S_OK;
}
