#include "framework/markup/MarkupSystemColors.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupColorKey, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupBrushKey, COSMMarkupObject, nullptr, nullptr)

namespace {

struct SystemColorName
{
    LPCWSTR name;
    int index;
};

// In the order names are compared in: a shortened name matches the first entry it begins.
const SystemColorName kSystemColorNames[] = {
    {L"ActiveBorder", 10},
    {L"ActiveCaption", 2},
    {L"ActiveCaptionText", 9},
    {L"AppWorkspace", 12},
    {L"Control", 15},
    {L"ControlDark", 16},
    {L"ControlDarkDark", 21},
    {L"ControlLight", 22},
    {L"ControlLightLight", 20},
    {L"ControlText", 18},
    {L"Desktop", 1},
    {L"GradientActiveCaption", 27},
    {L"GradientInactiveCaption", 28},
    {L"GrayText", 17},
    {L"Highlight", 13},
    {L"HighlightText", 14},
    {L"HotTrack", 26},
    {L"InactiveBorder", 11},
    {L"InactiveCaption", 3},
    {L"InactiveCaptionText", 19},
    {L"Info", 24},
    {L"InfoText", 23},
    {L"Menu", 4},
    {L"MenuBar", 30},
    {L"MenuHighlight", 29},
    {L"MenuText", 7},
    {L"ScrollBar", 0},
    {L"Window", 5},
    {L"WindowFrame", 6},
    {L"WindowText", 8},
};

const WCHAR kPrefix[] = L"SystemColors.";
const size_t kPrefixLength = sizeof kPrefix / sizeof kPrefix[0] - 1;
// Shorter member texts are refused before any name is looked at.
const size_t kMinMemberLength = 20;

// The endings in the order they are tried, with what each gives.
struct MemberEnding
{
    LPCWSTR text;
    int kind;
};

}  // namespace

int COSMMarkupSystemColors::GetColorIndex(LPCWSTR name, int length)
{
    if (!name || length <= 0)
        return -1;
    for (const SystemColorName& entry : kSystemColorNames)
    {
        if (wcslen(entry.name) >= static_cast<size_t>(length) &&
            wcsncmp(entry.name, name, static_cast<size_t>(length)) == 0)
            return entry.index;
    }
    return -1;
}

COSMMarkupObject* COSMMarkupSystemColors::GetByIndex(Kind kind, int index)
{
    if (index < 0 || index >= kColorCount)
        return nullptr;
    RefPtr<COSMMarkupObject>& slot = m_objects[kind][index];
    if (!slot)
    {
        const COLORREF color = ::GetSysColor(index);
        switch (kind)
        {
        case kColor:
            slot.Attach(new COSMMarkupColor(color));
            break;
        case kBrush:
            slot.Attach(new COSMMarkupSolidColorBrush(color));
            break;
        case kColorKey:
            slot.Attach(new COSMMarkupColorKey(index));
            break;
        default:
            slot.Attach(new COSMMarkupBrushKey(index));
            break;
        }
    }
    slot->AddRef();
    return slot.Get();
}

COSMMarkupObject* COSMMarkupSystemColors::GetColorByIndex(int index)
{
    return GetByIndex(kColor, index);
}

COSMMarkupObject* COSMMarkupSystemColors::GetBrushByIndex(int index)
{
    return GetByIndex(kBrush, index);
}

COSMMarkupObject* COSMMarkupSystemColors::GetColorKeyByIndex(int index)
{
    return GetByIndex(kColorKey, index);
}

COSMMarkupObject* COSMMarkupSystemColors::GetBrushKeyByIndex(int index)
{
    return GetByIndex(kBrushKey, index);
}

COSMMarkupObject* COSMMarkupSystemColors::ProvideValue(COSMMarkupBuilder* builder, LPCWSTR member)
{
    static const MemberEnding kEndings[] = {
        {L"Color", kColor}, {L"Brush", kBrush}, {L"ColorKey", kColorKey}, {L"BrushKey", kBrushKey}};
    const size_t length = member ? wcslen(member) : 0;
    if (length >= kMinMemberLength && wcsncmp(member, kPrefix, kPrefixLength) == 0)
    {
        for (const MemberEnding& ending : kEndings)
        {
            const size_t endingLength = wcslen(ending.text);
            if (length < kPrefixLength + endingLength || wcscmp(member + length - endingLength, ending.text) != 0)
                continue;
            const int nameLength = static_cast<int>(length - kPrefixLength - endingLength);
            const int index = GetColorIndex(member + kPrefixLength, nameLength);
            if (index >= 0)
                return GetByIndex(static_cast<Kind>(ending.kind), index);
        }
    }
    COSMMarkupBuilder::ThrowBuilderException(
        FormatMarkupMessage1("Cannot find the static member  '%ls'", member ? member : L""));
}
