// The system's common dialogs as modal dialog objects: CColorDialog picks a colour, CFileDialog (open) a file.
//
//   CColorDialog colors(RGB(255, 0, 0), CC_FULLOPEN, this);
//   if (colors.DoModal() == IDOK) Use(colors.GetColor());
//
//   CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Images (*.bmp)|*.bmp|All files (*.*)|*.*||", this);
//   if (open.DoModal() == IDOK) Load(open.GetPathName());
//
// Filters are written with '|' between the parts (the system wants '\0'); a filter that ends in "||" ends there.
#pragma once

#include "classlib/CString.h"
#include "classlib/Wnd.h"

#include <commdlg.h>

class CColorDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    CColorDialog(const CColorDialog&) = delete;
    CColorDialog& operator=(const CColorDialog&) = delete;

    // IDOK or IDCANCEL. The result colour stays the initial one after Cancel.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc{};

private:
    COLORREF m_customColors[16];
};

class CFileDialog
{
public:
    // Only the open dialog is built (bOpenFileDialog TRUE).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFileName); }
    // The extension of the chosen file, without the dot ("" when it has none).
    CString GetFileExt() const;

    OPENFILENAMEA m_ofn{};

private:
    CString m_strFilter;  // '\0'-separated, as m_ofn points into it
    CString m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
};
