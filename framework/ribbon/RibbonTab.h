// The ribbon's tabs: COSMRibbonTab, a tab-manager item that owns the groups shown while it is selected and may be a
// context tab (a colour and a context caption); COSMRibbonContextHeader(s), the headers a run of context tabs shares
// in the caption strip; and COSMRibbonControlTab, the tab strip itself, a control of the ribbon bar (id 9604) that is
// at the same time the tab manager of the tabs:
//
//   COSMRibbonControlTab* strip = ribbon->GetControlTab();
//   auto* tab = static_cast<COSMRibbonTab*>(strip->InsertItem(-1, new COSMRibbonTab));
//   tab->SetCaption("&Home");
//   tab->SetContextColor(3, "Picture Tools");     // a context tab: the bar gives its run a header
//
// Every selection (mouse, keys, loading, accessibility) goes through SetSelectedItem, which asks the site first
// (notification -552, a non-zero answer keeps the old tab) and tells it after (-551).
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabManagerItem.h"

#include <memory>
#include <vector>

class COSMRibbonBar;
class COSMRibbonGroup;
class COSMRibbonGroups;
class COSMRibbonContextHeader;
class COSMCommandBar;
class COSMPropExchange;

class COSMRibbonTab : public COSMTabManagerItem
{
    DECLARE_SERIAL(COSMRibbonTab)

public:
    COSMRibbonTab();
    ~COSMRibbonTab() override;

    // Hiding the selected tab selects the first visible, enabled one of the strip (none when no tab is left).
    void SetVisible(BOOL visible) override;
    // The groups go.
    void OnRemoved() override;
    // Caption, tooltip, context colour and caption, id and visibility; selected when the source was its strip's
    // selection; the groups follow the source's.
    virtual void Copy(const COSMRibbonTab* source);
    // "Caption", "ToolTip", "ContextColor", "ContextCaption", "Id", "Visible", "Selected", then section "Groups".
    // Loading, the tab joins the bar of the exchange's context control (COSMRibbonControlTab).
    virtual void DoPropExchange(COSMPropExchange* px);
    // A redraw event (code -2, id 1) redraws the ribbon.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    COSMRibbonBar* GetRibbonBar() const { return m_ribbonBar; }
    COSMCommandBar* GetParentCommandBar() const { return m_parentBar; }
    // The ribbon bar and the parent command bar together (they are the same bar).
    void SetRibbonBar(COSMRibbonBar* bar);
    // A copy of the tab in a popup: its groups' controls live in the popup's controls.
    void SetParentCommandBar(COSMCommandBar* bar) { m_parentBar = bar; }
    COSMRibbonGroups* GetGroups() const { return m_groups.get(); }
    // The first group of the tab with the id; null when none.
    COSMRibbonGroup* FindGroup(int id) const;
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    // 0 an ordinary tab; 1 to 7 the context colours.
    int GetContextColor() const { return m_contextColor; }
    const CString& GetContextCaption() const { return m_contextCaption; }
    void SetContextColor(int color, LPCSTR caption = nullptr);
    void SetContextCaption(LPCSTR caption) { m_contextCaption = caption ? caption : ""; }
    COSMRibbonContextHeader* GetContextHeader() const { return m_contextHeader; }
    void SetContextHeader(COSMRibbonContextHeader* header) { m_contextHeader = header; }
    // The keyboard tip's text: its own, else the caption.
    CString GetKeyboardTip() const { return m_keyboardTip.IsEmpty() ? GetCaption() : m_keyboardTip; }
    void SetKeyboardTip(LPCSTR tip) { m_keyboardTip = tip ? tip : ""; }

private:
    std::unique_ptr<COSMRibbonGroups> m_groups;
    COSMRibbonBar* m_ribbonBar = nullptr;
    COSMCommandBar* m_parentBar = nullptr;
    int m_id = 0;
    int m_contextColor = 0;
    CString m_contextCaption;
    COSMRibbonContextHeader* m_contextHeader = nullptr;
    CString m_keyboardTip;
};

// The header a run of context tabs shares in the caption strip (bar client coordinates).
class COSMRibbonContextHeader
{
public:
    // A header for the tab alone: its colour and context caption, an empty rectangle; the tab links to it.
    explicit COSMRibbonContextHeader(COSMRibbonTab* tab);

    COSMRibbonTab* m_firstTab;
    COSMRibbonTab* m_lastTab;
    CString m_caption;
    int m_color;
    CRect m_rect;
};

// The headers of one layout, owned.
class COSMRibbonContextHeaders : public CObject
{
public:
    COSMRibbonContextHeaders() = default;
    ~COSMRibbonContextHeaders() override { RemoveAll(); }
    COSMRibbonContextHeaders(const COSMRibbonContextHeaders&) = delete;
    COSMRibbonContextHeaders& operator=(const COSMRibbonContextHeaders&) = delete;

    int GetCount() const { return static_cast<int>(m_headers.size()); }
    // Null outside 0..count-1.
    COSMRibbonContextHeader* GetAt(int index) const
    {
        return index >= 0 && index < GetCount() ? m_headers[static_cast<size_t>(index)] : nullptr;
    }
    // Takes the header over.
    void Add(COSMRibbonContextHeader* header) { m_headers.push_back(header); }
    void RemoveAll();
    // The first header whose rectangle holds the point; null when none.
    COSMRibbonContextHeader* HitTest(CPoint point) const;

private:
    std::vector<COSMRibbonContextHeader*> m_headers;
};

// The tab strip: a control of the ribbon bar and the manager of its tabs.
class COSMRibbonControlTab : public COSMControlPopup, public COSMTabManager
{
    DECLARE_SERIAL(COSMRibbonControlTab)

public:
    static constexpr UINT kControlId = 9604;

    COSMRibbonControlTab();
    ~COSMRibbonControlTab() override;

    COSMRibbonBar* GetRibbonBar() const;
    // The tab at the index; null outside 0..count-1.
    COSMRibbonTab* GetItem(int index) const;
    // Opens the selected tab's popup of a minimized ribbon (by keyboard when asked).
    void SelectTab(BOOL keyboard);

    // ---- The control ----------------------------------------------------------------------------------------
    // The strip cannot be disabled.
    void SetEnabled(int) override {}
    void SetFocused(BOOL focused) override;
    BOOL IsFocused() const override { return m_focused; }
    // The bar draws the strip.
    void Draw(CDC*) override {}
    // The tabs, in "Tab" sections exchanged by class.
    void DoPropExchange(COSMPropExchange* px) override;
    void OnMnemonicActivate() override { SetFocused(TRUE); }
    // Tabs of the same classes as the source's, bound to this strip's bar; the source's selection follows.
    void Copy(const COSMControl* source, BOOL recursive) override;
    void OnClick(BOOL, CPoint) override {}
    BOOL IsFocusable() const override { return TRUE; }
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    BOOL OnSetPopup(BOOL popup) override;
    BOOL SetSelected(int selected) override;
    COSMControl* Clone(BOOL recursive) const override;
    void AdjustExcludeRect(CRect& rect, BOOL vertical) override;

    // ---- Screen readers: children 1..n are the tabs -----------------------------------------------------------
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

    // ---- The tab manager ------------------------------------------------------------------------------------
    void RequestLayout() override;
    CString GetItemTooltip(const COSMTabManagerItem* pItem) const override;
    void SetSelectedItem(COSMTabManagerItem* pItem) override;
    COSMTabPaintManager* GetPaintManager() const override;
    void RedrawTabs(const CRect* prc, BOOL bErase) override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
    void OnItemClick(COSMTabManagerItem* pItem) override;
    BOOL IsMouseLocked() const override;
    BOOL HasFocus() const override;

    // Tab-manager calls that both bases name.
    using COSMTabManager::GetItemCount;
    using COSMTabManager::HitTest;

private:
    // The tab of an accessible child id (1..n); null otherwise.
    COSMRibbonTab* GetAccessibleTab(long childId) const;
    BOOL m_focused = FALSE;
};
