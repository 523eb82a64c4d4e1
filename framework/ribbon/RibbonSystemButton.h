// The ribbon's application ("system") button and its menu: a popup bar whose frame picture leaves a 29-pixel foot
// for its buttons (Options, Exit ...), sub-pages that open beside it as tall as the menu, list captions and list
// items for its right-hand column, and the recent-file list that fills itself with the application's recent files.
//
//   auto* system = new COSMRibbonControlSystemButton;
//   ribbon->SetSystemButton(system);
//   const auto menu = AdoptRef(new COSMRibbonSystemPopupBar);  menu->SetCommandBars(commandBars);
//   system->SetCommandBar(menu.Get());                          // the button holds a reference of its own
//   menu->GetControls()->AddControl(new COSMRibbonControlSystemPopupBarButton, ID_APP_EXIT);
//   menu->GetControls()->AddControl(new COSMRibbonControlSystemRecentFileList, 35003)->SetWrap(TRUE);
#pragma once

#include "classlib/CString.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"

#include <vector>

class CRecentFileList;

// The application button at the left of the tab row. A double click closes a top-level frame (it asks with
// WM_SYSCOMMAND 0xF063, as the system menu icon does) and runs the button inside a child window.
class COSMRibbonControlSystemButton : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonControlSystemButton)

public:
    // The system command a double click sends: SC_CLOSE with the low bits of a double-clicked icon.
    static constexpr UINT kDoubleClickCommand = 0xF063;

    COSMRibbonControlSystemButton();
    void Draw(CDC* dc) override;
    BOOL OnLButtonDblClk(CPoint point) override;
    // The ribbon's menu opens over the button's lower 18 pixels while the ribbon shows its caption and tabs.
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override;
    COSMControl* Clone(BOOL recursive) const override;
};

// The application menu: borders (6, 18, 6, 29); the foot buttons (COSMRibbonControlSystemPopupBarButton) stand
// right-aligned in the bottom border, 6 pixels apart; the menu lets clicks on the button that opened it through.
class COSMRibbonSystemPopupBar : public COSMPopupBar
{
    DECLARE_SERIAL(COSMRibbonSystemPopupBar)

public:
    static constexpr int kBorderLeft = 6;
    static constexpr int kBorderTop = 18;
    static constexpr int kBorderRight = 6;
    static constexpr int kBorderBottom = 29;
    static constexpr int kFootButtonGap = 6;

    COSMRibbonSystemPopupBar();
    CRect GetBorders() override;
    void DrawCommandBarFrame(CDC* dc) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    COSMCommandBar* Clone(BOOL recursive) const override;

    // The foot buttons' rectangles for a menu of cx x cy: right-aligned from cx - right border + 1, from cy - 25 to
    // cy - 3, widths in the buttons' order.
    static std::vector<CRect> PlaceFootButtons(int cx, int cy, const std::vector<int>& widths);

protected:
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // The menu's picture with the borders as its margins (a plain popup's fill without it), the opening button
    // over it while the ribbon shows its caption, and the right-hand column's colour.
    void DrawMenuFrame(CDC* dc, const CRect& client);
    void DrawOpenerOverMenu(CDC* dc, const CRect& client);
    void DrawRecentColumn(CDC* dc, const CRect& column);
};

// A page that opens beside the application menu from one of its items: at least as tall as the menu's client area
// between its borders.
class COSMRibbonSystemPopupBarPage : public COSMPopupBar
{
    DECLARE_SERIAL(COSMRibbonSystemPopupBarPage)

public:
    COSMRibbonSystemPopupBarPage() = default;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override;
    COSMCommandBar* Clone(BOOL recursive) const override;

private:
    // The application menu whose control opened this page; null otherwise.
    COSMRibbonSystemPopupBar* GetSystemPopupBar() const;
};

// A button in the application menu's foot: drawn on its own picture, with no state rectangle over its image.
class COSMRibbonControlSystemPopupBarButton : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonControlSystemPopupBarButton)

public:
    COSMRibbonControlSystemPopupBarButton() = default;
    // TRUE inside an application menu: the paint manager then draws no state rectangle or split frame for it.
    BOOL IsFaceSuppressed() const override { return IsSystemMenuButton(); }
    BOOL IsSystemMenuButton() const;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    CSize GetButtonSize() const { return CSize(22, 22); }
    CSize GetIconSize() const { return CSize(16, 16); }
    COSMControl* Clone(BOOL recursive) const override;

private:
    void DrawFootFace(CDC* dc);
};

// One line of the application menu's right-hand column (300 x 21); a numbered one draws its access key ("&1") first
// and indents its name by 7 + the width of "0".
class COSMRibbonControlSystemPopupBarListItem : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonControlSystemPopupBarListItem)

public:
    COSMRibbonControlSystemPopupBarListItem();
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    COSMControl* Clone(BOOL recursive) const override;
    BOOL IsNumbered() const { return m_numbered; }
    void SetNumbered(BOOL numbered) { m_numbered = numbered; }
    // The x where the caption starts, and the access key drawn before it (empty when none), for the caption.
    static int CaptionIndent(CDC* dc, BOOL numbered);
    static CString SplitAccessKey(CString& caption);

private:
    BOOL m_numbered = FALSE;
};

// The heading of the right-hand column (300 x 27), in bold over a two-line rule.
class COSMRibbonControlSystemPopupBarListCaption : public COSMControl
{
    DECLARE_SERIAL(COSMRibbonControlSystemPopupBarListCaption)

public:
    COSMRibbonControlSystemPopupBarListCaption();
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    COSMControl* Clone(BOOL recursive) const override;
};

// The recent files under a heading: each time the menu is laid out, one numbered list item per file of the
// application's list, ids from 57616 on.
class COSMRibbonControlSystemRecentFileList : public COSMRibbonControlSystemPopupBarListCaption
{
    DECLARE_SERIAL(COSMRibbonControlSystemRecentFileList)

public:
    COSMRibbonControlSystemRecentFileList() = default;
    void BuildDynamicItems(DWORD layoutMode) override;
    // Only into a popup bar.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    virtual CRecentFileList* GetRecentFileList() const;
    virtual UINT GetFirstMruId() const { return 57616; }
    COSMControl* Clone(BOOL recursive) const override;
};

// "&n name" for n from 1 to 9, the name alone otherwise; every '&' of the name doubled. A double-byte character is
// copied whole; a lead byte with nothing after it is copied alone and ends the name.
CString FormatRecentCaption(LPCSTR name, int number);
// The same with the names' code page given.
CString FormatRecentCaption(LPCSTR name, int number, UINT codePage);
