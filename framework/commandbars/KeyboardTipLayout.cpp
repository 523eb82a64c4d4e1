#include "framework/commandbars/KeyboardTipLayout.h"

#include "framework/commandbars/MnemonicKeys.h"

#include <algorithm>
#include <set>

namespace {

// The characters a tip takes when its caption offers none that is free; more than any group on one bar needs.
const char kRunningCharacters[] = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Under a code page of double-byte characters a lead byte is only half an access key.
BOOL IsOemLeadByte(char character)
{
    CPINFO info = {};
    return ::GetCPInfo(CP_OEMCP, &info) && info.MaxCharSize > 1 &&
           ::IsDBCSLeadByteEx(CP_OEMCP, static_cast<BYTE>(character));
}

CString AccessKeyText(const CString& caption)
{
    const int marker = FindMnemonicPos(caption);
    const int pos = marker >= 0 ? marker + 1 : 0;
    CString text = caption.Mid(pos, 1);
    if (pos + 1 < caption.GetLength() && IsOemLeadByte(caption[pos]))
        text += caption.Mid(pos + 1, 1);
    return text;
}

// The second character a tip of the caption gets, or 0 when every candidate is taken.
char ChooseSecondCharacter(const CString& caption, char first, const std::set<char>& excluded)
{
    const auto isFree = [&excluded](char c) { return excluded.find(c) == excluded.end(); };
    const int length = caption.GetLength();
    for (int i = 0; i + 1 < length; ++i)
    {
        if (caption[i] == ' ' && isFree(caption[i + 1]))
            return caption[i + 1];
    }
    int start = length > 0 && caption[0] == '&' ? 1 : 0;
    if (start < length && caption[start] == first)
        ++start;
    for (int i = start; i < length; ++i)
    {
        if (isFree(caption[i]))
            return caption[i];
    }
    // Numbering the group the way a format of "%i" would gives 1 and 10 to 19 the same character: single
    // characters keep every member reachable.
    for (const char* c = kRunningCharacters; *c; ++c)
    {
        if (isFree(*c))
            return *c;
    }
    return 0;
}

}  // namespace

std::vector<CString> MakeKeyboardTipTexts(const std::vector<COSMKeyboardTipSource>& sources)
{
    std::vector<CString> texts(sources.size());
    std::vector<CString> captions(sources.size());
    for (size_t i = 0; i < sources.size(); ++i)
    {
        captions[i] = sources[i].caption;
        captions[i].MakeUpper();
        if (!sources[i].explicitTip.IsEmpty())
            texts[i] = sources[i].explicitTip;
        else if (!captions[i].IsEmpty())
            texts[i] = AccessKeyText(captions[i]);
    }

    for (size_t i = 0; i < texts.size(); ++i)
    {
        if (texts[i].IsEmpty())
            continue;
        const char first = texts[i][0];
        std::vector<size_t> group = {i};
        for (size_t j = i + 1; j < texts.size(); ++j)
        {
            if (!texts[j].IsEmpty() && texts[j][0] == first)
                group.push_back(j);
        }
        if (group.size() < 2)
            continue;
        // Two-letter texts the group holds already are taken, the tip's own among them: a second tip with the
        // same letters could never be typed.
        std::set<char> excluded = {'&', ' '};
        for (size_t member : group)
        {
            if (texts[member].GetLength() == 2)
                excluded.insert(texts[member][1]);
        }
        for (size_t member : group)
        {
            if (texts[member].GetLength() >= 2)
                continue;
            const char second = ChooseSecondCharacter(captions[member], first, excluded);
            if (second == 0)
                continue;
            texts[member] += CString(second);
            excluded.insert(second);
        }
    }
    return texts;
}

CRect PlaceKeyboardTip(CSize textSize, CPoint anchor, DWORD alignment, BOOL rightToLeft)
{
    const int width = std::max(static_cast<int>(textSize.cx) + 6, 16);
    const int height = std::max(static_cast<int>(textSize.cy) + 2, 15);
    int dx = 0;
    if (alignment & kKeyboardTipCenterHorz)
        dx = width / 2;
    else if (rightToLeft || (alignment & kKeyboardTipRight))
        dx = width;
    int dy = 0;
    if (alignment & kKeyboardTipCenterVert)
        dy = height / 2;
    else if (alignment & kKeyboardTipBottom)
        dy = height;
    const int left = anchor.x - dx;
    const int top = anchor.y - dy;
    return CRect(left, top, left + width, top + height);
}
