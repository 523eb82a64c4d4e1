#include "classlib/CommonDialogs.h"

#include <cstring>

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
{
    for (COLORREF& color : m_customColors)
        color = RGB(255, 255, 255);
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.hwndOwner = pParentWnd->GetSafeHwnd();
    m_cc.rgbResult = clrInit;
    m_cc.lpCustColors = m_customColors;
    m_cc.Flags = dwFlags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    const COLORREF initial = m_cc.rgbResult;
    if (::ChooseColorA(&m_cc))
        return IDOK;
    m_cc.rgbResult = initial;  // the system may leave a half-chosen colour behind
    return IDCANCEL;
}

CFileDialog::CFileDialog(BOOL /*bOpenFileDialog*/, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
{
    if (lpszFileName)
        ::lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszDefExt)
        m_strDefExt = lpszDefExt;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pParentWnd->GetSafeHwnd();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrDefExt = lpszDefExt ? static_cast<LPCSTR>(m_strDefExt) : nullptr;
    if (lpszFilter)
    {
        // "a|b|c|d||" becomes "a\0b\0c\0d\0\0": the system reads pairs up to the empty one.
        const size_t length = std::strlen(lpszFilter);
        LPSTR pBuffer = m_strFilter.GetBuffer(static_cast<int>(length) + 2);
        for (size_t i = 0; i < length; ++i)
            pBuffer[i] = lpszFilter[i] == '|' ? '\0' : lpszFilter[i];
        pBuffer[length] = '\0';
        pBuffer[length + 1] = '\0';
        m_strFilter.ReleaseBuffer(static_cast<int>(length) + 1);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return ::GetOpenFileNameA(&m_ofn) ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileExt() const
{
    const char* pName = m_szFileName;
    if (const char* pSlash = std::strrchr(pName, '\\'))
        pName = pSlash + 1;
    const char* pDot = std::strrchr(pName, '.');
    return CString(pDot ? pDot + 1 : "");
}
