// Stand-in: the command-bars subsystem replaces this file with its own COSMControl under the same name.
#pragma once

#include "classlib/ClassLib.h"

class COSMCommandBar;

// One control of a command bar, with the members its painter reads.
class COSMControl : public CCmdTarget
{
public:
    COSMControl() = default;

    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    virtual int GetStyle() const { return m_style; }
    void SetStyle(int style) { m_style = style; }

    virtual int GetSelected() const { return m_selected; }
    void SetSelected(int selected) { m_selected = selected; }
    virtual int GetPressed() const { return m_pressed; }
    void SetPressed(int pressed) { m_pressed = pressed; }
    int GetEnabled() const { return m_enabled; }
    void SetEnabled(int enabled) { m_enabled = enabled; }
    int GetChecked() const { return m_checked; }
    void SetChecked(int checked) { m_checked = checked; }
    virtual BOOL IsPopupOpen() const { return FALSE; }

    CRect GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    BOOL IsDefaultItem() const { return m_defaultItem; }
    void SetDefaultItem(BOOL defaultItem) { m_defaultItem = defaultItem; }
    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    int GetHeight() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    // The own icon size when set, else the parent bar's.
    CSize GetIconSize() const;
    void SetIconSize(CSize size) { m_iconSize = size; }
    BOOL IsHiddenWhenNotUsed() const { return m_hiddenWhenNotUsed; }
    void SetHideWhenNotUsed(BOOL hidden) { m_hiddenWhenNotUsed = hidden; }
    DWORD GetHideFlags() const { return m_hideFlags; }
    void SetHideFlags(DWORD flags) { m_hideFlags = flags; }
    virtual BOOL IsVisible(DWORD skip = 0) const { return (m_hideFlags & ~skip) == 0; }
    const CString& GetCaption() const { return m_caption; }
    void SetCaption(const CString& caption) { m_caption = caption; }

    COSMCommandBar* GetParent() const { return m_parent; }
    void SetParent(COSMCommandBar* parent) { m_parent = parent; }

private:
    int m_type = 0;
    int m_style = 0;
    int m_selected = 0;
    int m_pressed = 0;
    int m_enabled = 1;
    int m_checked = 0;
    CRect m_rect;
    BOOL m_defaultItem = FALSE;
    int m_width = 0;
    int m_height = 0;
    CSize m_iconSize{0, 0};
    BOOL m_hiddenWhenNotUsed = FALSE;
    DWORD m_hideFlags = 0;
    CString m_caption;
    COSMCommandBar* m_parent = nullptr;
};
