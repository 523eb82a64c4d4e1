// What the accessibility tests share: a child id as the VARIANT a screen reader passes, and a BSTR answer as text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace commandbars_test {

inline VARIANT Child(long id)
{
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The answers are plain ASCII here: each character as one byte.
inline std::string Narrow(BSTR text)
{
    std::string narrow;
    for (UINT i = 0; text && i < ::SysStringLen(text); ++i)
        narrow += static_cast<char>(text[i]);
    return narrow;
}

}  // namespace commandbars_test
