// The controls a menu bar adds for a maximized MDI child: its system-menu popup (the child's icon, first on the bar)
// and its minimize, restore and close buttons (Marlett glyphs, last on the bar). COSMMenuBar::RefreshMdiButtons
// makes and removes them.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

// The popup bar of the system-menu popup: its items are the child's system commands, which have no shortcuts of
// the application and are not the user's to customize.
class COSMMenuBarSysMenuPopupBar : public COSMPopupBar
{
    DECLARE_DYNCREATE(COSMMenuBarSysMenuPopupBar)

public:
    void UpdateShortcuts() override {}
    BOOL IsCustomizable() const override { return FALSE; }
    // The popup keeps one pixel clear of its opener on every side.
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override { rect.InflateRect(1, 1); }
};

class COSMControlMDISysMenuPopup : public COSMControlPopup
{
    DECLARE_DYNCREATE(COSMControlMDISysMenuPopup)

public:
    COSMControlMDISysMenuPopup();
    ~COSMControlMDISysMenuPopup() override;

    // The child's icon (its answer to 10336, WM_GETICON small then big, its class's small icon, else the system's
    // logo), kept as a 16-pixel copy.
    void TakeIconOf(HWND child);
    HICON GetIcon() const { return m_icon; }
    HMENU GetSystemMenu() const { return m_systemMenu; }
    void SetSystemMenu(HMENU menu) { m_systemMenu = menu; }
    // The popup's controls become the items of the system menu.
    void FillFromSystemMenu(HMENU menu);

    CSize GetSize(CDC* dc) override { return CSize(16, 16); }
    void Draw(CDC* dc) override;
    void SetBeginGroup(BOOL) override {}
    BOOL IsCaptionVisible() const override { return FALSE; }

private:
    HMENU m_systemMenu = nullptr;
    HICON m_icon = nullptr;
};

class COSMControlMDIButton : public COSMControlButton
{
    DECLARE_DYNCREATE(COSMControlMDIButton)

public:
    COSMControlMDIButton();

    // The system command the button posts to the active child (SC_MINIMIZE, SC_RESTORE or SC_CLOSE).
    static UINT CommandOf(UINT id);
    // The glyph the button draws ("0", "2" or "r" of the Marlett font).
    static const char* GlyphOf(UINT id);

    CSize GetSize(CDC* dc) override { return CSize(16, 16); }
    void Draw(CDC* dc) override;
    void SetBeginGroup(BOOL) override {}
    BOOL IsCaptionVisible() const override { return FALSE; }
    void OnExecute() override;
};
