// The rich-text renderer over the real text services of RICHED20 (reading RTF and plain text, measuring, drawing into
// a DIB section), its host's answers asked directly, and over fake loaders: without text services, and with fake
// text services that show the order of release and unloading and how text is streamed in.
#include "framework/controls/RichTextRenderer.h"

#include "tests/support/DcTestSurface.h"

#include "framework/commandbars/PaintManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using foundation_test::DcTestSurface;

LOGFONTA MessageFont()
{
    NONCLIENTMETRICSA metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    EXPECT_TRUE(InitNonClientMetrics(&metrics));
    return metrics.lfMessageFont;
}

// The height of one line of the message font, in pixels.
int MessageFontLineHeight()
{
    LOGFONTA logFont = MessageFont();
    HFONT hFont = ::CreateFontIndirectA(&logFont);
    HDC hScreen = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hScreen, hFont);
    TEXTMETRICA metrics;
    ::GetTextMetricsA(hScreen, &metrics);
    ::SelectObject(hScreen, hOld);
    ::ReleaseDC(nullptr, hScreen);
    ::DeleteObject(hFont);
    return metrics.tmHeight;
}

const char kLongText[] = "The rich-text tip wraps a long description over several lines, keeping each line as long "
                         "as the widest width allows, and no wider than the words need when it is measured.";

class RichTextRendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(surface.IsValid());
        ASSERT_TRUE(renderer.HasTextServices()) << "RICHED20's text services were not created";
    }
    CDC* Dc() { return CDC::FromHandle(surface.GetDC()); }

    DcTestSurface surface{400, 300, RGB(255, 255, 255)};
    COSMRichTextRenderer renderer;
};

TEST_F(RichTextRendererTest, ReadsRtfAsRtfAndOtherTextAsPlainText)
{
    struct Case
    {
        const char* text;
        int expectedRead;
    };
    const Case cases[] = {
        {"{\\rtf1 {\\b Bold} plain}", 10},  // "Bold plain"
        {"{not rtf", 8},                    // no RTF characters: read again as plain text, brace included
        {"plain words", 11},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expectedRead, renderer.SetText(c.text)) << (c.text ? c.text : "(null)");
}

TEST_F(RichTextRendererTest, AShortWordMeasuresItsOwnWidthOnOneLine)
{
    constexpr int kMaxWidth = 400;
    renderer.SetText("Hi");
    const CSize size = renderer.GetTextExtent(Dc(), kMaxWidth);
    EXPECT_GT(size.cx, 0);
    EXPECT_LT(size.cx, kMaxWidth / 4);
    EXPECT_GT(size.cy, 0);
    EXPECT_LT(size.cy, 2 * MessageFontLineHeight()) << "one line";
    // The text services tell a size only when it changes: a second measurement of the same text must not lose it.
    EXPECT_EQ(size, renderer.GetTextExtent(Dc(), kMaxWidth));
}

TEST_F(RichTextRendererTest, ALongTextKeepsItsHeightAtTheWidthFoundAndGrowsTallerWhenNarrower)
{
    constexpr int kMaxWidth = 300;
    renderer.SetText(kLongText);
    const CSize size = renderer.GetTextExtent(Dc(), kMaxWidth);
    EXPECT_GT(size.cx, kMaxWidth / 2);
    EXPECT_LE(size.cx, kMaxWidth);
    EXPECT_GE(size.cy, 2 * MessageFontLineHeight()) << "several lines at " << kMaxWidth;

    const CSize atFoundWidth = renderer.GetTextExtent(Dc(), size.cx);
    EXPECT_EQ(size.cy, atFoundWidth.cy);
    EXPECT_LE(atFoundWidth.cx, size.cx);

    EXPECT_EQ(size, renderer.GetTextExtent(Dc(), kMaxWidth)) << "measured again";

    const CSize atHalf = renderer.GetTextExtent(Dc(), size.cx / 2);
    EXPECT_GT(atHalf.cy, size.cy);
    EXPECT_LE(atHalf.cx, size.cx / 2);
}

TEST_F(RichTextRendererTest, AReusedRendererMeasuresAsAFreshOne)
{
    // The text services tell a size only when it changes, so a renderer that measured before starts from what it was
    // told last; its answers must still be those of a renderer measuring for the first time.
    renderer.SetText(kLongText);
    for (int maxWidth : {300, 250, 300, 120, 120, 400, 300})
    {
        COSMRichTextRenderer fresh;
        fresh.SetText(kLongText);
        EXPECT_EQ(fresh.GetTextExtent(Dc(), maxWidth), renderer.GetTextExtent(Dc(), maxWidth)) << "at " << maxWidth;
    }
}

TEST_F(RichTextRendererTest, ABiggerDefaultFormatMeasuresTaller)
{
    renderer.SetText("Hi");
    const CSize normal = renderer.GetTextExtent(Dc(), 400);
    CHARFORMATW format = renderer.GetDefaultCharFormat();
    format.yHeight *= 3;
    renderer.SetDefaultCharFormat(&format);
    EXPECT_EQ(format.yHeight, renderer.GetDefaultCharFormat().yHeight);
    const CSize big = renderer.GetTextExtent(Dc(), 400);
    EXPECT_GT(big.cy, 2 * normal.cy);
    EXPECT_GT(big.cx, 2 * normal.cx);
}

TEST_F(RichTextRendererTest, DrawsTheTextInItsColourInsideTheRectangle)
{
    CHARFORMATW format = renderer.GetDefaultCharFormat();
    format.crTextColor = RGB(200, 0, 0);
    renderer.SetDefaultCharFormat(&format);
    renderer.SetText("{\\rtf1 {\\b Bold} plain}");
    const CSize size = renderer.GetTextExtent(Dc(), 300);
    const CRect rect(CPoint(20, 30), size);
    renderer.DrawText(Dc(), &rect);

    int inkInside = 0;
    int inkOutside = 0;
    for (int y = 0; y < surface.Height(); ++y)
    {
        for (int x = 0; x < surface.Width(); ++x)
        {
            const COLORREF pixel = surface.Pixel(x, y);
            if (pixel == RGB(255, 255, 255))
                continue;
            // Smoothed edges blend with the white: only reddish pixels count as ink.
            EXPECT_GT(GetRValue(pixel), GetGValue(pixel)) << "at " << x << ", " << y;
            if (rect.PtInRect(CPoint(x, y)))
                ++inkInside;
            else
                ++inkOutside;
        }
    }
    EXPECT_GT(inkInside, 20);
    EXPECT_EQ(0, inkOutside);
}

TEST(RichTextRendererFormatTest, TheDefaultFormatsAreTheMessageFontsAsALabel)
{
    COSMRichTextRenderer renderer;
    const LOGFONTA messageFont = MessageFont();
    HDC hScreen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);

    const CHARFORMATW& format = renderer.GetDefaultCharFormat();
    EXPECT_EQ(92u, format.cbSize);
    EXPECT_EQ(static_cast<DWORD>(CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                                 CFM_STRIKEOUT),
              format.dwMask);
    EXPECT_EQ(0u, format.dwEffects);
    EXPECT_EQ(-::MulDiv(messageFont.lfHeight, 1440, dpi), format.yHeight);
    EXPECT_GT(format.yHeight, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), format.crTextColor);
    EXPECT_EQ(0, format.bCharSet);
    EXPECT_EQ(0, format.bPitchAndFamily);
    wchar_t expectedFace[LF_FACESIZE] = {};
    ::MultiByteToWideChar(CP_ACP, 0, messageFont.lfFaceName, -1, expectedFace, LF_FACESIZE);
    EXPECT_EQ(std::wstring(expectedFace), std::wstring(format.szFaceName));

    const PARAFORMAT& para = renderer.GetDefaultParaFormat();
    EXPECT_EQ(156u, para.cbSize);
    EXPECT_EQ(static_cast<DWORD>(PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS |
                                 PFM_NUMBERING | PFM_RTLPARA | PFM_OFFSETINDENT),
              para.dwMask);
    EXPECT_EQ(PFA_LEFT, para.wAlignment);
    EXPECT_EQ(0, para.dxStartIndent);
    EXPECT_EQ(0, para.cTabCount);
}

// Loaders without the library, or without its entry: nothing is read, measured or drawn.
HMODULE NoLibrary()
{
    return nullptr;
}

int g_freedModules = 0;

HMODULE ThisModule()
{
    return ::GetModuleHandleA(nullptr);
}

PCreateTextServices NoEntry(HMODULE)
{
    return nullptr;
}

void CountFree(HMODULE)
{
    ++g_freedModules;
}

TEST(RichTextRendererWithoutTextServicesTest, ReadsNothingMeasuresNothingAndDrawsNothing)
{
    const COSMTextServicesLoader noLibrary = {&NoLibrary, &NoEntry, &CountFree};
    const COSMTextServicesLoader noEntry = {&ThisModule, &NoEntry, &CountFree};
    struct Case
    {
        const char* name;
        const COSMTextServicesLoader* loader;
        int expectedFrees;
    };
    const Case cases[] = {{"no library", &noLibrary, 0}, {"no CreateTextServices", &noEntry, 1}};
    for (const Case& c : cases)
    {
        g_freedModules = 0;
        {
            COSMRichTextRenderer renderer(*c.loader);
            EXPECT_FALSE(renderer.HasTextServices()) << c.name;
            EXPECT_EQ(0, renderer.SetText("{\\rtf1 {\\b Bold} plain}")) << c.name;
            EXPECT_EQ(0, renderer.SetText("plain")) << c.name;
            DcTestSurface surface(100, 50, RGB(255, 255, 255));
            CDC* pDC = CDC::FromHandle(surface.GetDC());
            EXPECT_EQ(CSize(0, 0), renderer.GetTextExtent(pDC, 300)) << c.name;
            const CRect rect(0, 0, 100, 50);
            renderer.DrawText(pDC, &rect);
            for (int y = 0; y < surface.Height(); ++y)
                for (int x = 0; x < surface.Width(); ++x)
                    ASSERT_EQ(RGB(255, 255, 255), surface.Pixel(x, y)) << c.name << " drew at " << x << ", " << y;
            // The default format is still kept for the text services that never came.
            CHARFORMATW format = renderer.GetDefaultCharFormat();
            format.yHeight = 500;
            renderer.SetDefaultCharFormat(&format);
            EXPECT_EQ(500, renderer.GetDefaultCharFormat().yHeight);
        }
        EXPECT_EQ(c.expectedFrees, g_freedModules) << c.name;
    }
}

// Fake text services: they record what the renderer asks of them, and stream text in the way RICHED20 does, through
// the callback, a few bytes at a time. RTF they refuse (0 characters read).
std::vector<std::string> g_events;

class FakeTextServices final : public ITextServices
{
public:
    explicit FakeTextServices(ITextHost* pHost) : m_pHost(pHost) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (::IsEqualIID(riid, IID_OSMTextServices) || ::IsEqualIID(riid, IID_IUnknown))
        {
            *ppv = static_cast<ITextServices*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG refs = --m_refs;
        if (refs == 0)
        {
            g_events.push_back("text services released");
            delete this;
        }
        return refs;
    }

    HRESULT TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* plresult) override
    {
        *plresult = 0;
        if (msg == EM_STREAMIN)
        {
            auto* pStream = reinterpret_cast<EDITSTREAM*>(lparam);
            if (wparam == SF_RTF)
            {
                g_events.push_back("stream RTF");
                return S_OK;
            }
            std::string text;
            BYTE buffer[3];
            LONG read = 0;
            while (pStream->pfnCallback(pStream->dwCookie, buffer, sizeof(buffer), &read) == 0 && read > 0)
                text.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(read));
            g_events.push_back("stream text " + text);
            *plresult = static_cast<LRESULT>(text.size());
        }
        else if (msg == EM_SETCHARFORMAT)
        {
            const auto* pFormat = reinterpret_cast<const CHARFORMATW*>(lparam);
            g_events.push_back("default format " + std::to_string(pFormat->yHeight) + " " +
                               std::to_string(wparam == SCF_DEFAULT));
        }
        return S_OK;
    }
    HRESULT TxDraw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL, LPRECT, BOOL(CALLBACK*)(DWORD),
                   DWORD, LONG) override
    {
        return S_OK;
    }
    HRESULT TxGetHScroll(LONG*, LONG*, LONG*, LONG*, BOOL*) override { return E_NOTIMPL; }
    HRESULT TxGetVScroll(LONG*, LONG*, LONG*, LONG*, BOOL*) override { return E_NOTIMPL; }
    HRESULT OnTxSetCursor(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT) override
    {
        return E_NOTIMPL;
    }
    HRESULT TxQueryHitPoint(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT OnTxInPlaceActivate(LPCRECT) override { return E_NOTIMPL; }
    HRESULT OnTxInPlaceDeactivate() override { return E_NOTIMPL; }
    HRESULT OnTxUIActivate() override { return E_NOTIMPL; }
    HRESULT OnTxUIDeactivate() override { return E_NOTIMPL; }
    HRESULT TxGetText(BSTR*) override { return E_NOTIMPL; }
    HRESULT TxSetText(LPCWSTR pszText) override
    {
        g_events.push_back(pszText && !*pszText ? "set empty text" : "set text");
        return S_OK;
    }
    HRESULT TxGetCurTargetX(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetBaseLinePos(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetNaturalSize(DWORD, HDC, HDC, DVTARGETDEVICE*, DWORD, const SIZEL*, LONG*, LONG*) override
    {
        return E_NOTIMPL;
    }
    HRESULT TxGetDropTarget(IDropTarget**) override { return E_NOTIMPL; }
    HRESULT OnTxPropertyBitsChange(DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT TxGetCachedSize(DWORD*, DWORD*) override { return E_NOTIMPL; }

    ITextHost* Host() const { return m_pHost; }

private:
    ~FakeTextServices() = default;
    ITextHost* m_pHost;
    ULONG m_refs = 1;
};

ITextHost* g_hostGiven = nullptr;

HRESULT WINAPI CreateFakeTextServices(IUnknown* punkOuter, ITextHost* pITextHost, IUnknown** ppUnk)
{
    g_events.push_back(punkOuter ? "created with an outer object" : "created");
    g_hostGiven = pITextHost;
    *ppUnk = new FakeTextServices(pITextHost);
    return S_OK;
}

PCreateTextServices FakeEntry(HMODULE)
{
    return &CreateFakeTextServices;
}

void RecordFree(HMODULE)
{
    g_events.push_back("library freed");
}

const COSMTextServicesLoader kFakeLoader = {&ThisModule, &FakeEntry, &RecordFree};

TEST(RichTextRendererLifetimeTest, ReleasesTheTextServicesBeforeFreeingTheirLibrary)
{
    g_events.clear();
    {
        COSMRichTextRenderer renderer(kFakeLoader);
        EXPECT_TRUE(renderer.HasTextServices());
        EXPECT_EQ(renderer.GetTextHost(), g_hostGiven);
        // The creation's own reference was given back once the text services' interface was had.
        EXPECT_EQ((std::vector<std::string>{"created"}), g_events);
        g_events.clear();
    }
    EXPECT_EQ((std::vector<std::string>{"text services released", "library freed"}), g_events);
}

TEST(RichTextRendererLifetimeTest, StreamsTheWholeTextAndFallsBackToPlainText)
{
    g_events.clear();
    COSMRichTextRenderer renderer(kFakeLoader);
    g_events.clear();

    EXPECT_EQ(8, renderer.SetText("{not rtf"));
    EXPECT_EQ(33, renderer.SetText("plain text longer than the buffer"));
    EXPECT_EQ(0, renderer.SetText(""));
    CHARFORMATW format = renderer.GetDefaultCharFormat();
    format.yHeight = 300;
    renderer.SetDefaultCharFormat(&format);
    EXPECT_EQ(
        (std::vector<std::string>{"stream RTF", "stream text {not rtf", "stream text plain text longer than the buffer",
                                  "set empty text", "default format 300 1"}),
        g_events);
}

// The host's fixed answers, asked directly.
TEST(RichTextRendererHostTest, AnswersAsATransparentMultiLineWrappingLabel)
{
    COSMRichTextRenderer renderer(kFakeLoader);
    ITextHost* pHost = renderer.GetTextHost();

    EXPECT_EQ(nullptr, pHost->TxGetDC());
    EXPECT_EQ(nullptr, pHost->TxImmGetContext());
    EXPECT_EQ(0, pHost->TxReleaseDC(nullptr));
    EXPECT_FALSE(pHost->TxShowScrollBar(SB_VERT, TRUE));
    EXPECT_FALSE(pHost->TxEnableScrollBar(SB_VERT, ESB_ENABLE_BOTH));
    EXPECT_FALSE(pHost->TxSetScrollRange(SB_VERT, 0, 10, TRUE));
    EXPECT_FALSE(pHost->TxSetScrollPos(SB_VERT, 5, TRUE));
    EXPECT_FALSE(pHost->TxCreateCaret(nullptr, 1, 10));
    EXPECT_FALSE(pHost->TxShowCaret(TRUE));
    EXPECT_FALSE(pHost->TxSetCaretPos(1, 1));
    EXPECT_FALSE(pHost->TxSetTimer(1, 100));
    POINT point = {5, 6};
    EXPECT_FALSE(pHost->TxScreenToClient(&point));
    EXPECT_FALSE(pHost->TxClientToScreen(&point));
    EXPECT_EQ(5, point.x);
    EXPECT_EQ(6, point.y);

    LONG state = 0;
    RECT rect = {1, 2, 3, 4};
    EXPECT_EQ(E_FAIL, pHost->TxActivate(&state));
    EXPECT_EQ(E_FAIL, pHost->TxDeactivate(0));
    EXPECT_EQ(E_FAIL, pHost->TxGetClientRect(&rect));
    EXPECT_EQ(E_FAIL, pHost->OnTxCharFormatChange(&renderer.GetDefaultCharFormat()));
    EXPECT_EQ(E_FAIL, pHost->OnTxParaFormatChange(&renderer.GetDefaultParaFormat()));
    SIZEL extent = {0, 0};
    EXPECT_EQ(E_NOTIMPL, pHost->TxGetExtent(&extent));

    EXPECT_EQ(S_OK, pHost->TxGetViewInset(&rect));
    EXPECT_TRUE(::IsRectEmpty(&rect));
    EXPECT_EQ(0, rect.left + rect.top + rect.right + rect.bottom);

    const CHARFORMATW* pCharFormat = nullptr;
    EXPECT_EQ(S_OK, pHost->TxGetCharFormat(&pCharFormat));
    EXPECT_EQ(&renderer.GetDefaultCharFormat(), pCharFormat);
    const PARAFORMAT* pParaFormat = nullptr;
    EXPECT_EQ(S_OK, pHost->TxGetParaFormat(&pParaFormat));
    EXPECT_EQ(&renderer.GetDefaultParaFormat(), pParaFormat);

    for (int index : {COLOR_WINDOW, COLOR_BTNTEXT, COLOR_HIGHLIGHT, COLOR_INFOBK})
        EXPECT_EQ(::GetSysColor(index), pHost->TxGetSysColor(index)) << "colour " << index;

    TXTBACKSTYLE backStyle = TXTBACK_OPAQUE;
    EXPECT_EQ(S_OK, pHost->TxGetBackStyle(&backStyle));
    EXPECT_EQ(TXTBACK_TRANSPARENT, backStyle);
    DWORD value = 0;
    EXPECT_EQ(S_OK, pHost->TxGetMaxLength(&value));
    EXPECT_EQ(16777216u, value);
    value = 1;
    EXPECT_EQ(S_OK, pHost->TxGetScrollBars(&value));
    EXPECT_EQ(0u, value);
    LONG number = 1;
    EXPECT_EQ(S_OK, pHost->TxGetSelectionBarWidth(&number));
    EXPECT_EQ(0, number);
    EXPECT_EQ(S_OK, pHost->TxGetAcceleratorPos(&number));
    EXPECT_EQ(-1, number);
    TCHAR password = 'x';
    EXPECT_EQ(S_FALSE, pHost->TxGetPasswordChar(&password));

    struct BitsCase
    {
        DWORD mask;
        DWORD expected;
    };
    const BitsCase bitsCases[] = {
        {0xFFFFFFFF, TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP},
        {TXTBIT_MULTILINE | TXTBIT_READONLY | TXTBIT_USEPASSWORD, TXTBIT_MULTILINE},
        {TXTBIT_READONLY | TXTBIT_HIDESELECTION, 0},
    };
    for (const BitsCase& c : bitsCases)
    {
        DWORD bits = 0xDEAD;
        EXPECT_EQ(S_OK, pHost->TxGetPropertyBits(c.mask, &bits));
        EXPECT_EQ(c.expected, bits) << "mask " << c.mask;
    }

    // Every notification is accepted; a resize request is what the measuring keeps.
    EXPECT_EQ(S_OK, pHost->TxNotify(EN_UPDATE, nullptr));
    REQRESIZE request;
    ZeroMemory(&request, sizeof(request));
    request.nmhdr.code = EN_REQUESTRESIZE;
    request.rc = {10, 20, 130, 70};
    EXPECT_EQ(S_OK, pHost->TxNotify(EN_REQUESTRESIZE, &request));

    // IUnknown: the renderer's own interface lookup; AddRef and Release leave its lifetime to its owner.
    void* pAsked = nullptr;
    EXPECT_EQ(S_OK, pHost->QueryInterface(__uuidof(IUnknown), &pAsked));
    EXPECT_EQ(static_cast<IUnknown*>(pHost), pAsked);
    EXPECT_EQ(E_NOINTERFACE, pHost->QueryInterface(IID_OSMTextServices, &pAsked));
    EXPECT_EQ(nullptr, pAsked);
    EXPECT_EQ(1u, pHost->AddRef());
    EXPECT_EQ(1u, pHost->Release());
    EXPECT_EQ(1u, pHost->Release());
    EXPECT_EQ(1, static_cast<LONG>(renderer.m_dwRef));
}

}  // namespace
