#include "framework/markup/MarkupRun.h"

#include "framework/foundation/OSVersionInfo.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupVisibleText.h"

#include <algorithm>
#include <cwchar>
#include <vector>

IMPLEMENT_MARKUP_TYPE(COSMMarkupRun, COSMMarkupInline, L"Run", &COSMMarkupRun::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupLineBreak, COSMMarkupRun, L"LineBreak", nullptr)

COSMMarkupDependencyProperty* COSMMarkupRun::s_pTextProperty = nullptr;

namespace {

// "Auto" arrives as the layout's unbounded length; a size beyond this is no font anyone can draw.
constexpr int kUnsetFontSize = 2147483647;
constexpr int kLargestFontSize = 16384;

int EnumValue(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property, int missing)
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(element->GetValue(property));
    return value ? value->GetValue() : missing;
}

}  // namespace

void COSMMarkupRun::RegisterMarkupProperties()
{
    s_pTextProperty = COSMMarkupDependencyProperty::Register(
        L"Text", COSMMarkupString::GetClassType(), GetClassType(),
        new COSMMarkupPropertyMetadata(nullptr, COSMMarkupPropertyMetadata::AffectsMeasure));
}

COSMMarkupRun::~COSMMarkupRun()
{
    ReleaseFont();
}

void COSMMarkupRun::OnFinalRelease()
{
    ReleaseFont();
    COSMMarkupInline::OnFinalRelease();
}

void COSMMarkupRun::ReleaseFont()
{
    if (COSMMarkupFont* font = m_pFont)
    {
        m_pFont = nullptr;
        font->Release();
    }
}

void COSMMarkupRun::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    if (MarkupDynamicCast<COSMMarkupString>(content))
    {
        SetValue(s_pTextProperty, content);
        return;
    }
    COSMMarkupInline::SetContentObject(builder, content);
}

BOOL COSMMarkupRun::HasContentObject() const
{
    return GetText() != nullptr;
}

COSMMarkupString* COSMMarkupRun::GetText() const
{
    return MarkupDynamicCast<COSMMarkupString>(GetValue(s_pTextProperty));
}

void COSMMarkupRun::SetText(LPCWSTR text)
{
    SetValue(s_pTextProperty, text ? new COSMMarkupString(text, static_cast<int>(wcslen(text))) : nullptr);
}

LPCWSTR COSMMarkupRun::GetTextChars() const
{
    const COSMMarkupString* text = GetText();
    return text ? text->GetText() : nullptr;
}

int COSMMarkupRun::GetCharIndex(INT_PTR position) const
{
    const COSMMarkupString* text = GetText();
    if (!text || position == 0)
        return -1;
    if (position == -1)
        return text->GetLength();
    return static_cast<int>(reinterpret_cast<LPCWSTR>(position) - text->GetText());
}

INT_PTR COSMMarkupRun::GetFirstPosition()
{
    const COSMMarkupString* text = GetText();
    if (!text || text->GetLength() == 0)
        return -1;
    return reinterpret_cast<INT_PTR>(text->GetText());
}

void COSMMarkupRun::GetNextPosition(INT_PTR& position)
{
    const COSMMarkupString* text = GetText();
    if (position == 0 || position == -1 || !text)
        return;
    LPCWSTR next = reinterpret_cast<LPCWSTR>(position) + 1;
    position = next >= text->GetText() + text->GetLength() ? -1 : reinterpret_cast<INT_PTR>(next);
}

BOOL COSMMarkupRun::IsWhiteSpace(INT_PTR position)
{
    if (position == 0 || position == -1)
        return FALSE;
    const wchar_t c = *reinterpret_cast<LPCWSTR>(position);
    return c == L' ' || c == L'\t' || c == L'\n';
}

BOOL COSMMarkupRun::IsLineBreak(INT_PTR position)
{
    return position != 0 && position != -1 && *reinterpret_cast<LPCWSTR>(position) == L'\n';
}

BOOL COSMMarkupRun::IsBlank(INT_PTR position)
{
    if (position == 0 || position == -1)
        return FALSE;
    const wchar_t c = *reinterpret_cast<LPCWSTR>(position);
    return c == L' ' || c == L'\t';
}

void COSMMarkupRun::GetLogFont(LOGFONTW* logFont) const
{
    COSMMarkupContext* context = GetMarkupContext();
    if (context)
        *logFont = context->defaultLogFont;
    else
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(*logFont), logFont);
    if (const COSMMarkupInt* size = MarkupDynamicCast<COSMMarkupInt>(GetValue(s_pFontSizeProperty)))
    {
        const int value = size->GetValue();
        if (value > 0 && value != kUnsetFontSize)
            logFont->lfHeight = -(value > kLargestFontSize ? kLargestFontSize : value);
    }
    const int weight = EnumValue(this, s_pFontWeightProperty, -1);
    if (weight >= 0)
        logFont->lfWeight = weight;
    const int style = EnumValue(this, s_pFontStyleProperty, -1);
    if (style >= 0)
        logFont->lfItalic = style != 0 ? 1 : 0;
    const int quality = EnumValue(this, s_pFontQualityProperty, -1);
    if (quality >= 0 && GetOSVersionInfo()->IsClearTypeTextQualitySupported())
        logFont->lfQuality = static_cast<BYTE>(quality);
    if (const COSMMarkupString* family = MarkupDynamicCast<COSMMarkupString>(GetValue(s_pFontFamilyProperty)))
    {
        // Fonts are made from narrow face names: each character keeps its low byte.
        int i = 0;
        for (; i < LF_FACESIZE - 1 && i < family->GetLength(); ++i)
            logFont->lfFaceName[i] = static_cast<wchar_t>(family->GetText()[i] & 0xFF);
        logFont->lfFaceName[i] = 0;
    }
}

void COSMMarkupRun::PrepareFont(COSMMarkupDrawingContext* dc)
{
    LOGFONTW logFont;
    GetLogFont(&logFont);
    if (!m_pFont || memcmp(&m_pFont->GetLogFont(), &logFont, sizeof(logFont)) != 0)
    {
        COSMMarkupContext* context = GetMarkupContext();
        COSMMarkupFont* font = context ? context->GetFont(logFont) : new COSMMarkupFont(logFont);
        ReleaseFont();
        m_pFont = font;
    }
    dc->SetFont(m_pFont);
    TEXTMETRICW metrics;
    if (dc->GetSafeHdc() && dc->GetSafeHdc() == dc->GetAttribDC())
    {
        // The measuring DC's metrics, which the drawing context keeps per font: every run of a layout asks.
        m_nDescent = dc->GetTextMetrics(&metrics) ? metrics.tmDescent : 0;
        return;
    }
    HDC hdc = dc->GetDC();
    m_nDescent = hdc && ::GetTextMetricsW(hdc, &metrics) ? metrics.tmDescent : 0;
    dc->ReleaseDC(hdc);
}

CSize COSMMarkupRun::Measure(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end)
{
    if (start == 0 || start == -1 || end == 0)
        return CSize(0, 0);
    dc->SetFont(m_pFont);
    const LPCWSTR first = reinterpret_cast<LPCWSTR>(start);
    const int count = GetCharIndex(end) - GetCharIndex(start);
    if (count <= 0)
    {
        const SIZE space = dc->GetTextExtent(L" ", 1);
        return CSize(0, space.cy);
    }
    return CSize(dc->GetTextExtent(first, count));
}

INT_PTR COSMMarkupRun::FitPosition(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxWidth)
{
    if (start == 0 || start == -1 || end == 0)
        return start;
    const int count = GetCharIndex(end) - GetCharIndex(start);
    if (count <= 0)
        return start;
    dc->SetFont(m_pFont);
    const int fit = dc->GetTextFit(reinterpret_cast<LPCWSTR>(start), count, maxWidth);
    if (fit >= count)
        return end;
    return fit <= 0 ? start : reinterpret_cast<INT_PTR>(reinterpret_cast<LPCWSTR>(start) + fit);
}

int COSMMarkupRun::MeasurePositions(COSMMarkupDrawingContext* dc, INT_PTR start, INT_PTR end, int maxCount, int* widths,
                                    int* height)
{
    if (start == 0 || start == -1 || end == 0 || !widths || !height)
        return 0;
    // A position is one character of the text.
    const int count = std::min(GetCharIndex(end) - GetCharIndex(start), maxCount);
    if (count <= 0)
        return 0;
    dc->SetFont(m_pFont);
    SIZE size = {0, 0};
    if (!dc->GetTextExtents(reinterpret_cast<LPCWSTR>(start), count, widths, &size))
        return 0;
    // From the widths of the first 1 .. count characters to each one's own.
    for (int i = count - 1; i > 0; --i)
        widths[i] -= widths[i - 1];
    *height = size.cy;
    return count;
}

BOOL COSMMarkupRun::MeasureAdvances(COSMMarkupDrawingContext* dc, long long* widths, int* height)
{
    const COSMMarkupString* text = GetText();
    if (!text || text->GetLength() <= 0 || !widths || !height || !m_pFont)
        return FALSE;
    const LPCWSTR chars = text->GetText();
    const int length = text->GetLength();
    if (IsMarkupShapedText(chars, length))
        return FALSE;
    dc->SetFont(m_pFont);
    if (!dc->AreTextExtentsAdditive())
        return FALSE;
    // Long enough that a text of a million characters costs a few hundred calls, short enough that the system's
    // sums stay far from the 32-bit limit in the largest font.
    constexpr int kStretch = 4096;
    // A short text's extents go on the stack: the common text of a word or a few takes no heap block.
    constexpr int kShortText = 256;
    INT shortExtents[kShortText];
    std::vector<INT> longExtents;
    INT* extents = shortExtents;
    if (length > kShortText)
    {
        longExtents.resize(static_cast<size_t>(std::min(length, kStretch)));
        extents = longExtents.data();
    }
    widths[0] = 0;
    long long sum = 0;
    for (int at = 0; at < length;)
    {
        int count = std::min(kStretch, length - at);
        // A surrogate pair is measured as the one character it is.
        if (count > 1 && at + count < length && IS_HIGH_SURROGATE(chars[at + count - 1]))
            --count;
        SIZE size = {0, 0};
        if (!dc->GetTextExtents(chars + at, count, extents, &size))
            return FALSE;
        for (int i = 0; i < count; ++i)
            widths[at + i + 1] = sum + extents[i];
        sum += extents[count - 1];
        *height = size.cy;
        at += count;
    }
    return TRUE;
}

void COSMMarkupRun::Render(COSMMarkupDrawingContext* dc, const RECT& rect, INT_PTR start, INT_PTR end)
{
    if (start == 0 || start == -1 || end == 0 || start == end)
        return;
    const int count = GetCharIndex(end) - GetCharIndex(start);
    if (count <= 0)
        return;
    dc->SetFont(m_pFont);
    const POINT point = {rect.left, rect.top};
    dc->DrawTextLine(reinterpret_cast<LPCWSTR>(start), count, &point);
}

COSMMarkupLineBreak::COSMMarkupLineBreak()
{
    SetText(L"\n");
}
