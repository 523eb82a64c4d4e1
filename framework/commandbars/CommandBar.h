// Stand-in: the command-bars subsystem replaces this file with its own COSMCommandBar under the same name.
#pragma once

#include "framework/commandbars/Controls.h"

// A command bar, with the members its painter reads.
class COSMCommandBar : public CCmdTarget
{
public:
    COSMCommandBar() { m_controls = new COSMControls; }
    ~COSMCommandBar() override { m_controls->InternalRelease(); }

    // 0 menu bar, 1 toolbar, 2 popup.
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    // 0 top, 1 bottom, 2 left, 3 right, 4 floating, 5 popup, 7 none.
    int GetPosition() const { return m_position; }
    void SetPosition(int position) { m_position = position; }
    // 0 from the position, 1 vertical, 2 horizontal.
    int GetTextOrientation() const { return m_textOrientation; }
    void SetTextOrientation(int orientation) { m_textOrientation = orientation; }
    CSize GetIconSize() const { return m_iconSize; }
    void SetIconSize(CSize size) { m_iconSize = size; }
    CSize GetLargeIconSize() const { return m_largeIconSize; }
    void SetLargeIconSize(CSize size) { m_largeIconSize = size; }
    // The icon size of small or large buttons.
    CSize CalcIconSize(BOOL large) const { return large ? m_largeIconSize : m_iconSize; }
    virtual BOOL IsPopupBar() const { return m_type == 2; }
    BOOL IsDoubleGripper() const { return m_doubleGripper; }
    void SetDoubleGripper(BOOL doubleGripper) { m_doubleGripper = doubleGripper; }
    const CString& GetTitle() const { return m_title; }
    void SetTitle(const CString& title) { m_title = title; }
    HWND GetSafeHwnd() const { return m_window; }
    void SetSafeHwnd(HWND window) { m_window = window; }
    COSMControls* GetControls() const { return m_controls; }

private:
    int m_type = 1;
    int m_position = 7;
    int m_textOrientation = 0;
    CSize m_iconSize{16, 16};
    CSize m_largeIconSize{32, 32};
    BOOL m_doubleGripper = FALSE;
    CString m_title;
    HWND m_window = nullptr;
    COSMControls* m_controls = nullptr;
};

inline CSize COSMControl::GetIconSize() const
{
    if (m_iconSize.cx != 0 || m_iconSize.cy != 0 || !m_parent)
        return m_iconSize;
    return m_parent->GetIconSize();
}
