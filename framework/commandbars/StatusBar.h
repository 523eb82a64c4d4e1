// Stand-in: the controls subsystem replaces this file with its own status-bar classes under the same names.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"

#include <vector>

class COSMMarkupContext;
class COSMMarkupUIElement;
class COSMStatusBar;

// One pane of a status bar, with what its painter reads.
class COSMStatusBarPane : public CCmdTarget
{
public:
    static const DWORD kStyleFillWhole = 0x0100;
    static const DWORD kStylePopout = 0x0200;
    static const DWORD kStyleDisabled = 0x04000000;

    explicit COSMStatusBarPane(COSMStatusBar* statusBar = nullptr) : m_statusBar(statusBar) {}

    // Non-zero: a clickable pane drawn as a button.
    int GetWidth() const { return m_button; }
    void SetButton(int button) { m_button = button; }
    BOOL IsPressed() const { return m_pressed; }
    void SetPressed(BOOL pressed) { m_pressed = pressed; }
    DWORD GetStyle() const { return m_style; }
    void SetStyle(DWORD style) { m_style = style; }
    BOOL HasPopoutStyle() const { return (m_style & kStylePopout) != 0; }
    BOOL IsEnabled() const { return (m_style & kStyleDisabled) == 0; }
    COLORREF GetBackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(COLORREF color) { m_backgroundColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    const CString& GetText() const { return m_text; }
    void SetText(const CString& text) { m_text = text; }
    CRect GetPadding() const { return m_padding; }
    void SetPadding(const CRect& padding) { m_padding = padding; }
    // 0 left, 1 centre, 2 right.
    int GetTextAlignment() const { return m_alignment; }
    void SetTextAlignment(int alignment) { m_alignment = alignment; }
    COSMMarkupUIElement* GetMarkupUIElement() const { return m_markup; }
    void SetMarkupUIElement(COSMMarkupUIElement* markup) { m_markup = markup; }
    virtual CFont* GetTextFont() { return m_font; }
    void SetTextFont(CFont* font) { m_font = font; }
    virtual int GetIconId() const { return m_iconId; }
    void SetIconId(int iconId) { m_iconId = iconId; }
    COSMStatusBar* GetStatusBar() const { return m_statusBar; }

private:
    COSMStatusBar* m_statusBar;
    int m_button = 0;
    BOOL m_pressed = FALSE;
    DWORD m_style = 0;
    COLORREF m_backgroundColor = static_cast<COLORREF>(-1);
    COLORREF m_textColor = static_cast<COLORREF>(-1);
    CString m_text;
    CRect m_padding;
    int m_alignment = 0;
    COSMMarkupUIElement* m_markup = nullptr;
    CFont* m_font = nullptr;
    int m_iconId = 0;
};

// A pane of switch buttons.
class COSMStatusBarSwitchPane : public COSMStatusBarPane
{
public:
    struct SWITCH
    {
        UINT id = 0;
        int width = 0;
        BOOL checked = FALSE;
        BOOL enabled = TRUE;
        BOOL pressed = FALSE;
        BOOL hot = FALSE;
    };

    using COSMStatusBarPane::COSMStatusBarPane;

    int GetSwitchCount() const { return static_cast<int>(m_switches.size()); }
    SWITCH* GetSwitch(int index) { return &m_switches[index]; }
    void AddSwitch(const SWITCH& item) { m_switches.push_back(item); }

private:
    std::vector<SWITCH> m_switches;
};

class COSMStatusBar : public CCmdTarget
{
public:
    HWND GetSafeHwnd() const { return m_window; }
    void SetSafeHwnd(HWND window) { m_window = window; }
    COSMStatusBarPane* GetHotPane() const { return m_hotPane; }
    void SetHotPane(COSMStatusBarPane* pane) { m_hotPane = pane; }
    BOOL IsDrawDisabledText() const { return m_drawDisabledText; }
    void SetDrawDisabledText(BOOL draw) { m_drawDisabledText = draw; }
    COSMMarkupContext* GetMarkupContext() const { return m_markupContext; }
    void SetMarkupContext(COSMMarkupContext* context) { m_markupContext = context; }

private:
    HWND m_window = nullptr;
    COSMStatusBarPane* m_hotPane = nullptr;
    BOOL m_drawDisabledText = FALSE;
    COSMMarkupContext* m_markupContext = nullptr;
};
