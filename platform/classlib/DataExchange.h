// Dialog data exchange: a window's DoDataExchange lists which member goes with which control, and UpdateData runs it
// in one direction (FALSE: members -> controls, TRUE: controls -> members, validating).
//
//   void CWizardDlg::DoDataExchange(CDataExchange* pDX)
//   {
//       CDialog::DoDataExchange(pDX);
//       DDX_Control(pDX, IDC_PROGRESS, m_progress);    // binds the member object to the control
//       DDX_Text(pDX, IDC_FULL_NAME, m_fullName);
//       DDV_MaxChars(pDX, m_fullName, 63);
//       DDX_Check(pDX, IDC_USE_KIT, m_useKit);
//   }
//
// When a value is invalid the DDX/DDV function tells the user, puts the focus on the control and stops the exchange:
// UpdateData returns FALSE (the stop travels as an internal exception that never leaves UpdateData).
#pragma once

#include "classlib/Wnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // For the DDX/DDV functions: the control's window (remembered as the one to focus on failure).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange unsuccessfully; the last prepared control gets the focus.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// What Fail throws and UpdateData catches.
class CUserException
{};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group (WS_GROUP); value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Binds rControl to the control (subclassing it) the first time; later exchanges leave it as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);

// Validation, after the DDX_ call of the same control. When loading, DDV_MaxChars limits the edit control instead.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
