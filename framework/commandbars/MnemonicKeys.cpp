#include "framework/commandbars/MnemonicKeys.h"

#include "classlib/CString.h"

#include <vector>

namespace {

const UINT kFirstKeypadDigit = VK_NUMPAD0;
const UINT kLastKeypadDigit = VK_NUMPAD9;
// A key state byte: pressed (high bit) and toggled.
const BYTE kKeyDown = 0x81;

// Characters are of the ANSI code page.
UINT UpperCase(UINT character)
{
    if (character > 0xFF)
        return character;
    char c = static_cast<char>(character);
    ::CharUpperBuffA(&c, 1);
    return static_cast<BYTE>(c);
}

// What the key types in the layout with the key states given; 0 when it types no single character.
UINT TypedCharacter(UINT key, const BYTE* state, HKL layout)
{
    WORD typed = 0;
    const UINT scanCode = ::MapVirtualKeyExA(key, 0, layout);
    if (::ToAsciiEx(key, scanCode, state, &typed, 0, layout) != 1)
        return 0;
    return typed & 0xFF;
}

BOOL MatchesTyped(UINT character, UINT typed)
{
    return typed != 0 && (typed == character || UpperCase(typed) == character);
}

}  // namespace

int FindMnemonicPos(const CString& text)
{
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i)
    {
        if (text[i] != '&')
            continue;
        if (i + 1 >= length)
            return -1;  // nothing follows: no mnemonic
        if (text[i + 1] != '&')
            return i;
        ++i;  // "&&" is an ampersand shown as such
    }
    return -1;
}

BOOL CompareMnemonicKey(UINT character, UINT key)
{
    if (key >= kFirstKeypadDigit && key <= kLastKeypadDigit)
        return character == '0' + (key - kFirstKeypadDigit);
    if (::MapVirtualKeyA(key, 2) == 0)
        return FALSE;
    if (character == key || UpperCase(character) == key)
        return TRUE;

    const int layoutCount = ::GetKeyboardLayoutList(0, nullptr);
    if (layoutCount < 2)
        return FALSE;
    std::vector<HKL> layouts(static_cast<size_t>(layoutCount));
    const int listed = ::GetKeyboardLayoutList(layoutCount, layouts.data());
    BYTE state[256] = {};
    if (!::GetKeyboardState(state))
        return FALSE;
    for (int i = 0; i < listed; ++i)
    {
        const HKL layout = layouts[static_cast<size_t>(i)];
        if (MatchesTyped(character, TypedCharacter(key, state, layout)))
            return TRUE;
        const BYTE shift = state[VK_SHIFT];
        state[VK_SHIFT] = kKeyDown;
        const UINT shifted = TypedCharacter(key, state, layout);
        state[VK_SHIFT] = shift;
        if (MatchesTyped(character, shifted))
            return TRUE;
    }
    return FALSE;
}
