#include "framework/tabs/TabTextEllipsis.h"

COSMTabEllipsisResult FitTextWithMiddleEllipsis(const CString& strText, int nRoom,
                                                const std::function<int(const CString&)>& measure)
{
    COSMTabEllipsisResult result;
    if (strText.Find('\\') >= 0)
    {
        result.strText = strText;
        result.bPathEllipsis = true;
        return result;
    }
    static const char kEllipsis[] = "...";
    const int nEllipsis = measure(kEllipsis);
    const int nWidth = measure(strText);
    if (nWidth <= nRoom)
    {
        result.strText = strText;
        return result;
    }
    if (nEllipsis >= nRoom)
    {
        result.strText = kEllipsis;
        return result;
    }

    const int nAvail = nRoom - nEllipsis;
    const int nLength = strText.GetLength();
    // A first guess by the average character width, then one character at a time both ways.
    int n = nWidth > 0 ? static_cast<int>(static_cast<long long>(nLength) * nAvail / nWidth) : 0;
    auto partsWidth = [&](int nChars) {
        return measure(strText.Left(nChars - nChars / 2)) + measure(strText.Right(nChars / 2));
    };
    while (n < nLength && partsWidth(n + 1) <= nAvail)
        n++;
    while (n > 0 && partsWidth(n) > nAvail)
        n--;
    result.strText = strText.Left(n - n / 2) + kEllipsis + strText.Right(n / 2);
    return result;
}
