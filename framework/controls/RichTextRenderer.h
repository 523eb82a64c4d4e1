// COSMRichTextRenderer measures and draws a piece of rich text (RTF) or plain text without a window, by hosting the
// rich-edit text services of RICHED20.dll. It is their host itself, with fixed answers that make them a transparent,
// multi-line, word-wrapping label in the message font. The rich-text tip window embeds one:
//
//   COSMRichTextRenderer renderer;
//   renderer.SetText("{\\rtf1 {\\b Bold} plain}");      // a text starting with '{' is tried as RTF first
//   CSize size = renderer.GetTextExtent(&dc, 300);     // the narrowest size that keeps the height it has at 300
//   renderer.DrawText(&dc, CRect(CPoint(0, 0), size));
//
// Without the library or its CreateTextServices the renderer has no text services: it reads no text, measures (0, 0)
// and draws nothing. How the library is reached is a COSMTextServicesLoader, which tests replace.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/InterfaceMap.h"

#include <richedit.h>
// After richedit.h: it uses CHARFORMATW and PARAFORMAT without including them.
#include <textserv.h>

// How a renderer reaches the text services: loads the library, finds its CreateTextServices, frees it. The system
// one loads "RICHED20.dll"; a loader whose pfnLoadLibrary answers null gives renderers without text services.
struct COSMTextServicesLoader
{
    HMODULE (*pfnLoadLibrary)();
    PCreateTextServices (*pfnGetCreateTextServices)(HMODULE hModule);
    void (*pfnFreeLibrary)(HMODULE hModule);

    static const COSMTextServicesLoader& System();
};

// The text services' interface, which the library's import files do not carry.
extern const IID IID_OSMTextServices;  // 8D33F740-CF58-11CE-A89D-00AA006CADC5

class COSMRichTextRenderer : public CCmdTarget
{
public:
    explicit COSMRichTextRenderer(const COSMTextServicesLoader& loader = COSMTextServicesLoader::System());
    // Releases the text services before the library that holds their code goes.
    ~COSMRichTextRenderer() override;
    COSMRichTextRenderer(const COSMRichTextRenderer&) = delete;
    COSMRichTextRenderer& operator=(const COSMRichTextRenderer&) = delete;

    // Not meant to be overridden.
    BOOL HasTextServices() const { return m_pTextServices != nullptr; }
    // Copies the format as the default of every character, and gives it to the text services.
    void SetDefaultCharFormat(const CHARFORMATW* pcf);
    const CHARFORMATW& GetDefaultCharFormat() const { return m_defaultCharFormat; }
    const PARAFORMAT& GetDefaultParaFormat() const { return m_defaultParaFormat; }
    // Sets the text: RTF when it starts with '{' and reads as RTF, else plain text. Answers the characters read (0 for
    // a null or empty text, or without text services).
    int SetText(const char* lpszText);
    // The narrowest size at which the text is no taller than at nMaxWidth (-1: the screen width); (0, 0) without text
    // services.
    CSize GetTextExtent(CDC* pDC, int nMaxWidth);
    // Draws the text into prc; nothing without text services.
    void DrawText(CDC* pDC, const RECT* prc);

    // The host the text services call (tests ask it directly). Its QueryInterface is the renderer's interface lookup;
    // AddRef and Release answer 1 and count nothing, because the renderer lives as long as its owner says, not as
    // long as the text services hold it.
    ITextHost* GetTextHost() { return &m_xTextHost; }

private:
    // Plain C++ virtuals, as ITextHost declares them: RICHED20 calls them thiscall on 32-bit Windows, so none of them
    // may be STDMETHOD or WINAPI. Only IUnknown's three are stdcall.
    struct XTextHost : CNestedInterface<ITextHost>
    {
        using CNestedInterface::CNestedInterface;

        // The lookup without a reference: AddRef and Release do not count either.
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }

        HDC TxGetDC() override { return nullptr; }
        INT TxReleaseDC(HDC) override { return 0; }
        BOOL TxShowScrollBar(INT, BOOL) override { return FALSE; }
        BOOL TxEnableScrollBar(INT, INT) override { return FALSE; }
        BOOL TxSetScrollRange(INT, LONG, INT, BOOL) override { return FALSE; }
        BOOL TxSetScrollPos(INT, INT, BOOL) override { return FALSE; }
        void TxInvalidateRect(LPCRECT, BOOL) override {}
        void TxViewChange(BOOL) override {}
        BOOL TxCreateCaret(HBITMAP, INT, INT) override { return FALSE; }
        BOOL TxShowCaret(BOOL) override { return FALSE; }
        BOOL TxSetCaretPos(INT, INT) override { return FALSE; }
        BOOL TxSetTimer(UINT, UINT) override { return FALSE; }
        void TxKillTimer(UINT) override {}
        void TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override {}
        void TxSetCapture(BOOL) override {}
        void TxSetFocus() override {}
        void TxSetCursor(HCURSOR, BOOL) override {}
        BOOL TxScreenToClient(LPPOINT) override { return FALSE; }
        BOOL TxClientToScreen(LPPOINT) override { return FALSE; }
        HRESULT TxActivate(LONG*) override { return E_FAIL; }
        HRESULT TxDeactivate(LONG) override { return E_FAIL; }
        HRESULT TxGetClientRect(LPRECT) override { return E_FAIL; }
        HRESULT TxGetViewInset(LPRECT prc) override;
        HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
        HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
        COLORREF TxGetSysColor(int nIndex) override { return ::GetSysColor(nIndex); }
        HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
        HRESULT TxGetMaxLength(DWORD* plength) override;
        HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
        // TCHAR as the header has it: char in this ANSI build.
        HRESULT TxGetPasswordChar(TCHAR*) override { return S_FALSE; }
        HRESULT TxGetAcceleratorPos(LONG* pcp) override;
        HRESULT TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
        HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return E_FAIL; }
        HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return E_FAIL; }
        HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
        HRESULT TxNotify(DWORD iNotify, void* pv) override;
        HIMC TxImmGetContext() override { return nullptr; }
        void TxImmReleaseContext(HIMC) override {}
        HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

        COSMRichTextRenderer* Renderer() const { return static_cast<COSMRichTextRenderer*>(m_pOwner); }
    };

    // Streams the text into the text services in one format (SF_RTF or SF_TEXT); the characters read.
    int StreamIn(const char* lpszText, UINT nFormat);
    LRESULT SendToTextServices(UINT nMessage, WPARAM wParam, LPARAM lParam);

    XTextHost m_xTextHost{this};
    ITextServices* m_pTextServices = nullptr;
    CHARFORMATW m_defaultCharFormat;
    PARAFORMAT m_defaultParaFormat;
    COSMTextServicesLoader m_loader;
    HMODULE m_hTextServicesLibrary = nullptr;
    // The size the text services last asked for (EN_REQUESTRESIZE): they tell it only when it changes.
    CSize m_sizeRequested;

    DECLARE_INTERFACE_MAP()
};
