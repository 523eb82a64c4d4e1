#include "framework/foundation/ToolTipExtInfo.h"

#include <cstdlib>

void COSMToolTipExtInfo::FreeTexts()
{
    std::free(pszDescription);
    std::free(pszTitle);
    pszDescription = nullptr;
    pszTitle = nullptr;
}
