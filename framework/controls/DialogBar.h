// COSMDialogBar: a toolbar that hosts one window (a dialog, a tree, any window the application gives it) under a
// caption strip with a caption control, which can open a popup of its own, and a close button. It docks and floats
// as a toolbar does, keeps separate sizes docked and floating, is resized by its edges (docked) or edges and corners
// (floating) down to a minimum size, and knows whether the focus is inside it:
//
//   auto* bar = static_cast<COSMDialogBar*>(commandBars->... a bar of RUNTIME_CLASS(COSMDialogBar) ...);
//   bar->SetChild(tree.GetSafeHwnd());        // placed inside the borders at each WM_SIZE
//   bar->SetCaption("Properties");            // empty: the bar's title
//   bar->GetCaptionPopupBar()->GetControls()->Add(1, ID_VIEW_SORTED);   // the caption then opens a menu
//
// The move tracker calls Resize during a sizing drag; the mouse manager leaves every point but the caption strip
// to the hosted window (IsPointInWindow answers kPointLeftToWindows there).
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ToolBar.h"

// The menu the caption control opens: below the caption control, from its bottom-left corner.
class COSMDialogBarPopupBar : public COSMPopupBar
{
public:
    COSMDialogBarPopupBar();
    BOOL IsPopupBar() const override { return TRUE; }
    void UpdateExcludeRect() override;
};

// The caption of the strip: its text, and with a filled caption popup bar an arrow that opens it.
class COSMDialogBarCaptionControl : public COSMControlPopup
{
public:
    static constexpr UINT kId = 9147;
    COSMDialogBarCaptionControl();
    void Draw(CDC* dc) override;
    // Opens nothing (and answers FALSE, so the bar does not track a popup) while the caption has no popup.
    BOOL OnSetPopup(BOOL popup) override;
    // A caption without a popup is a label: a click leaves the bar as it is.
    void OnClick(BOOL keyboard, CPoint point) override;
    // The paint manager's control rectangle, always as for a horizontal bar.
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override;
    BOOL HasPopup() const { return m_hasPopup; }
    void SetHasPopup(BOOL hasPopup) { m_hasPopup = hasPopup; }

private:
    BOOL m_hasPopup = FALSE;
};

// The close button of the strip: a Marlett cross; it hides the bar.
class COSMDialogBarCloseControl : public COSMControlButton
{
public:
    static constexpr UINT kId = 9149;
    COSMDialogBarCloseControl();
    void Draw(CDC* dc) override;
    void OnExecute() override;
};

class COSMDialogBar : public COSMToolBar
{
    DECLARE_SERIAL(COSMDialogBar)

public:
    static constexpr int kCaptionButtonSize = 16;
    // The bar flag that keeps a bar docked left or right (or in a popup) from growing at its far edges.
    static constexpr DWORD kFlagFullRow = 0x40;

    COSMDialogBar();
    ~COSMDialogBar() override;

    // ---- Overrides of the bar ----------------------------------------------------------------------------------
    BOOL IsDialogBar() const override { return TRUE; }
    // The floating layout: CalcLayout for the floating extent (the length does not limit it).
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // TRUE in the caption strip, else kPointLeftToWindows: clicks elsewhere belong to the hosted window.
    BOOL IsPointInWindow(CPoint point) const override;
    // Notes whether the focus is inside the bar (redrawing on a change), then the bar's idle update.
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override;
    COSMCommandBar* Clone(BOOL recursive) const override;
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    // The docked layout: CalcLayout for the docked extent.
    CSize CalcDockingLayout(int length, DWORD mode, int minWidth = 0) override;
    // Nothing below the minimum size; else the docked width (HTLEFT, HTRIGHT) or height, or the floating extent
    // and the window, follow the proposed rectangle.
    void Resize(CRect rect, int hitCode) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The size for the length along the dock side, the layout mode (LM_STRETCH, LM_HORZ, LM_VERTDOCK) and the child
    // area; places the caption and close controls (made on first use).
    CSize CalcLayout(int length, DWORD mode, int cx, int cy);
    // The borders around the child window: the bar's borders with the caption strip on top.
    CRect GetClientBorders() const;
    // The caption strip ends here (client y); 0 without a caption.
    int GetCaptionBottom() const { return m_captionBottom; }

    HWND GetChild() const { return m_child; }
    // The window the bar hosts: it becomes a child of the bar's window and is placed inside the borders.
    void SetChild(HWND child);
    const CString& GetCaption() const { return m_caption; }
    void SetCaption(const CString& caption);
    BOOL IsCaptionVisible() const { return m_captionVisible; }
    void SetCaptionVisible(BOOL visible);
    BOOL IsCaptionPopupAllowed() const { return m_captionPopupAllowed; }
    void SetCaptionPopupAllowed(BOOL allowed);
    BOOL IsResizable() const { return m_resizable; }
    void SetResizable(BOOL resizable) { m_resizable = resizable; }
    CSize GetMinimumSize() const { return m_minimumSize; }
    void SetMinimumSize(CSize size) { m_minimumSize = size; }
    CRect GetBorderSizes() const { return m_borders; }
    void SetBorderSizes(const CRect& borders);
    CSize GetDockedExtent() const { return m_dockedExtent; }
    void SetDockedExtent(CSize extent);
    CSize GetFloatingExtent() const { return m_floatingExtent; }
    void SetFloatingExtent(CSize extent);
    // The menu the caption control opens once it holds a control.
    COSMDialogBarPopupBar* GetCaptionPopupBar() const { return m_captionPopupBar.Get(); }
    // The focus is in the bar, a window inside it, or a window owned by one of those.
    BOOL IsActive() const { return m_active; }

protected:
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // The child window inside the client borders of a client area of cx by cy.
    void PlaceChild(int cx, int cy);
    // The caption strip's height and the gripper's width, as the paint manager measures them.
    CSize MeasureCaption();
    // A change the layout depends on: the bar lays out again when it is shown.
    void LayoutChanged();

    CRect m_borders{3, 3, 3, 3};
    BOOL m_resizable = TRUE;
    CSize m_minimumSize{50, 50};
    BOOL m_captionVisible = TRUE;
    BOOL m_captionPopupAllowed = TRUE;
    int m_captionBottom = 0;
    CSize m_dockedExtent{200, 200};
    CSize m_floatingExtent{200, 200};
    HWND m_child = nullptr;
    CString m_caption;
    RefPtr<COSMDialogBarPopupBar> m_captionPopupBar;
    BOOL m_active = FALSE;
};
