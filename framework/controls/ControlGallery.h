// COSMControlGallery is the grid of choices a bar shows (Type 10): cells of a COSMControlGalleryItems collection,
// laid out in rows, with group labels on rows of their own, scrolled by its own vertical bar (the COSMScrollBase
// engine). It serves in a popup bar (a menu-like grid that executes on release), on a toolbar, and as an in-bar
// gallery whose scroll column carries up, down and popup buttons; the popup button opens the control's popup bar, a
// drop-down copy of the gallery. Its items live in the bound action's referenced object:
//
//   COSMControlGallery* gallery = static_cast<COSMControlGallery*>(bar->GetControls()->Add(10, ID_STYLES));
//   gallery->GetAction()->SetReferencedObject(items);     // a COSMControlGalleryItems
//   gallery->SetWidth(200);
//   gallery->Reposition();
//
// The site hears the hover preview and the rest through control notifications: 4112 a preview starts, 4113 it ends
// without execution, 4114 it ends by execution, 4115 the selection changes while it runs, 4116 a pressed item is
// dragged, 4117 after every selection change. Styles 2 and 4 show it as a plain button that opens its popup.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/ScrollBase.h"

#include <vector>

class COSMControlGalleryItem;
class COSMControlGalleryItems;
class COSMControlGalleryPaintManager;

// Where an item lies, in the gallery's unscrolled coordinates (the bar's, scroll position 0).
struct GalleryItemPosition
{
    CRect rect;  // empty for a hidden label
    COSMControlGalleryItem* item;
    BOOL beginRow;
};

class COSMControlGallery : public COSMControlPopup, public COSMScrollBase
{
    DECLARE_SERIAL(COSMControlGallery)

public:
    static constexpr int kType = 10;
    // The site notifications.
    static constexpr UINT kNotifyPreviewStart = 4112;
    static constexpr UINT kNotifyPreviewCancel = 4113;
    static constexpr UINT kNotifyPreviewApply = 4114;
    static constexpr UINT kNotifyPreviewChange = 4115;
    static constexpr UINT kNotifyBeginDrag = 4116;
    static constexpr UINT kNotifySelectionChanged = 4117;
    // A label's row height, and how far it moves the next row down.
    static constexpr int kLabelHeight = 19;
    static constexpr int kLabelAdvance = 20;
    // The animation's tick, on the parent bar's window (timer COSMScrollBase::kAnimationTimerId).
    static constexpr UINT kAnimationInterval = 40;
    // The hover that starts a preview (the bar's hover timer).
    static constexpr UINT kPreviewHoverDelay = 200;
    // A press moved this far becomes a drag.
    static constexpr int kDragDistance = 5;

    // Type 10, 120 x 60, flags 64; a vertical scroll bar whose animation flag is the gallery's.
    COSMControlGallery();
    ~COSMControlGallery() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The item whose id is the checked id draws checked.
    virtual BOOL IsItemChecked(COSMControlGalleryItem* item) const;
    // The border widths around the items: 1 with "ShowBorders", the scroll column on the right, 2 at the bottom
    // over a following control, plus "GalleryMargin".
    virtual CRect GetBorders() const;
    // Sends 4117.
    virtual void OnSelectedItemChanged();
    // The background, through the gallery painter.
    virtual void FillControl(CDC* dc);
    virtual void UpdateScrollBar();

    // COSMControl.
    BOOL IsFocused() const override;
    void SetRect(const CRect& rect) override;
    // A running preview ends with 4114 first.
    void OnExecute() override;
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    void DoPropExchange(COSMPropExchange* px) override;
    void SetAction(COSMControlAction* action) override;
    void Copy(const COSMControl* source, BOOL recursive) override;
    void OnClick(BOOL keyboard, CPoint point) override;
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    BOOL OnHookMouseWheel(UINT flags, short delta, CPoint point) override;
    // A running preview ends with 4113 first.
    BOOL OnSetPopup(BOOL popup) override;
    void OnLButtonUp(CPoint point) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override;
    BOOL SetSelected(int selected) override;
    // The "Resizable" value (0 to 3); 0 as a button or without items.
    BOOL IsCustomizeResizeAllowed() const override;
    int GetCustomizeMinWidth() const override;
    int GetCustomizeMinHeight() const override;
    // The item's tool (alternative id, else id); 0 off the items, -1 as a button or without items.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    COSMControl* Clone(BOOL recursive) const override;
    // The drop-down opens over the gallery: the excluded area becomes empty at (left - 1, top).
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override;

    // COSMScrollBase.
    BOOL IsScrollBarEnabled() override;
    CWnd* GetParentWindow() override;
    void OnScrollAnimationTimer() override;
    void GetScrollInfo(SCROLLINFO* info) override;
    void GetScrollBarRect(RECT* rect) override;
    void DoScroll(int command, int pos) override;
    void RedrawScrollBar() override;
    // With a popup bar: an up and a down button and, below them, the popup button; no track, no thumb.
    void CalcScrollBarInfo(const RECT* rect, ScrollBarGeometry* geometry, const SCROLLINFO* info) override;
    COSMScrollBarPaintManager* GetScrollBarPaintManager() override;

    // Accessibility: the items are the children (child id = index + 1).
    HRESULT GetAccessibleChildCount(long* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The bound action's referenced object when it is an item collection; else null.
    COSMControlGalleryItems* GetItems() const;
    int GetItemCount() const;
    COSMControlGalleryItem* GetItem(int index) const;
    CString GetItemCaption(int index) const;

    int GetSelectedItem() const { return m_selectedItem; }
    // Selects as the keyboard does: scrolled into view, announced to accessibility tools, previewed.
    void SetSelectedItem(int index);
    // Keeps the index but shows no selection; a preview ends.
    void HideSelection();
    BOOL IsSelectionHidden() const { return m_hideSelection; }
    BOOL IsItemPressed() const { return m_pressed; }
    BOOL IsPreviewActive() const { return m_preview; }
    int GetCheckedItemId() const { return m_checkedId; }
    void SetCheckedItemId(int id);

    // Scrolling, in pixels of content.
    int GetScrollPos() const { return m_scrollPos; }
    int GetContentHeight() const { return m_contentHeight; }
    int GetAnimationTarget() const { return m_animationTarget; }
    double GetAnimationStep() const { return m_animationStep; }
    void EnsureVisible(int index);
    void SetScrollPos(int pos);
    void AnimateScroll(int pos);
    // Scrolls the item to the top: 0, or -1 when the index is -1 or past the layout.
    int ScrollItemToTop(int index);

    // The text search of the drop-down: -1 without items, for an empty text or without a match.
    int FindItem(int start, LPCSTR text, BOOL exact) const;

    // Styles 2 and 4: measured, drawn and clicked as a plain popup button.
    BOOL IsShowAsButton() const;
    BOOL IsScrollButtonEnabled(int part) const;
    // A control of the popup bar follows this borderless gallery.
    BOOL HasFollowingControl() const;
    // The item under the point (bar coordinates), its drawing rectangle in out; -1 off the items.
    int HitTestItem(int x, int y, RECT* out = nullptr) const;
    // The item's rectangle on screen (bar coordinates) within the items area; empty when out of range.
    CRect GetItemDrawRect(int index) const;
    // The control's rectangle less its borders.
    CRect GetItemsRect() const;
    // The parent bar redraws the rectangle (null: the control).
    void RedrawControl(const RECT* rect = nullptr, BOOL animate = FALSE);
    // Lays the items out again: after any change of the items, the rectangle or the scroll position.
    void Reposition();
    const std::vector<GalleryItemPosition>& GetItemPositions() const { return m_positions; }

    // Stored settings.
    BOOL IsShowLabels() const { return m_showLabels; }
    void SetShowLabels(BOOL show) { m_showLabels = show; }
    BOOL IsShowScrollBar() const { return m_showScrollBar; }
    void SetShowScrollBar(BOOL show) { m_showScrollBar = show; }
    BOOL IsShowBorders() const { return m_showBorders; }
    void SetShowBorders(BOOL show) { m_showBorders = show; }
    CRect GetGalleryMargin() const { return m_margin; }
    void SetGalleryMargin(const CRect& margin) { m_margin = margin; }
    // 0 not resizable; bit 0 width, bit 1 height.
    int GetResizable() const { return m_resizable; }
    void SetResizable(int resizable) { m_resizable = resizable; }

    // The gallery painter of the control's paint manager; null when a theme gave another kind.
    COSMControlGalleryPaintManager* GetGalleryPaintManager() const;

protected:
    BOOL HasPopupBar() const { return m_commandBar != nullptr; }
    BOOL IsItemLabel(int index) const;
    HWND GetParentBarWindow() const;
    // Where the scroll position may go: [0, content height - items-area height].
    int ClampScrollPos(int pos) const;
    void StopAnimation();
    void RedrawItem(int index);
    // Selection by the mouse at the point ((-1, -1) when it left).
    void TrackItem(CPoint point);
    // Item navigation (ControlGalleryKeys.cpp).
    int GetNextItem(int index, int direction) const;
    int GetColumnNeighbour(int index, int direction) const;
    int GetRowNeighbour(int index, int direction) const;
    int GetPageItem(int index, int direction) const;
    // The child's item index, or -1 for the control; kInvalidChild for no child there.
    static constexpr int kInvalidChild = -2;
    int GetAccessibleItemIndex(const VARIANT& varChild) const;

    int m_checkedId = -1;
    int m_selectedItem = -1;
    BOOL m_hideSelection = FALSE;
    BOOL m_pressed = FALSE;
    CPoint m_pressPoint{0, 0};
    int m_scrollPos = 0;
    int m_animationTarget = 0;
    double m_animationStep = 0.0;
    BOOL m_keyboardSelected = FALSE;
    int m_contentHeight = 0;
    BOOL m_showLabels = TRUE;
    BOOL m_showScrollBar = TRUE;
    BOOL m_showBorders = FALSE;
    CRect m_margin;
    BOOL m_preview = FALSE;
    int m_resizable = 0;
    std::vector<GalleryItemPosition> m_positions;
};
