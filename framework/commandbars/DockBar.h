// COSMDockBar: the window along one side of the site frame into which toolbars dock. The manager makes one per side
// (COSMCommandBars::CreateDockBars: top, bottom, left, right). It keeps its toolbars in rows, lays each row out along
// the side (each toolbar near the place the user left it, overlapping ones pushed apart, a row that is too short
// shrunk and then wrapped), reports its thickness to the frame layout (WM_SIZEPARENT) and paints its background
// through the paint manager:
//
//   commandBars->SetSite(&frame);
//   commandBars->CreateDockBars();
//   commandBars->DockCommandBarAtPosition(toolBar, 0);     // appended to the top dock bar as a new last row
//
// The bars array holds the rows: a null entry ends a row and entry 0 is always null ([null, A, B, null, C, null]).
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"

#include <functional>
#include <vector>

class COSMCommandBars;
class COSMToolBar;

class COSMDockBar : public CWnd
{
    DECLARE_DYNCREATE(COSMDockBar)

public:
    // Dock styles of the four sides: the side's CBRS_ALIGN_ bit with the border bit of the side facing the client.
    static constexpr DWORD kStyleTop = 0x2800;
    static constexpr DWORD kStyleBottom = 0x8200;
    static constexpr DWORD kStyleLeft = 0x1400;
    static constexpr DWORD kStyleRight = 0x4100;
    // Toolbar flags the rows read: may shrink by hiding controls, sits in a row of its own, fills the gap around it.
    static constexpr DWORD kBarFlagHideWrap = 0x20;
    static constexpr DWORD kBarFlagFullRow = 0x40;
    static constexpr DWORD kBarFlagFillGap = 0x100000;

    // The size a toolbar takes for a length along the side, a layout mode and the row thickness (0 while measuring).
    // The dock bar asks the toolbar itself (COSMToolBar::CalcDockingLayout); tests lay rows out on fake sizes.
    using BarSizer = std::function<CSize(COSMToolBar* bar, int length, DWORD mode, int thickness)>;

    // The toolbars' moves of one layout: one deferred positioning, begun only once a toolbar has to move, that
    // positions only the toolbars whose rectangles change and ends when the object goes.
    class BarPositioning
    {
    public:
        BarPositioning(COSMDockBar* dockBar, int capacity) : m_dockBar(dockBar), m_capacity(capacity) {}
        ~BarPositioning();
        BarPositioning(const BarPositioning&) = delete;
        BarPositioning& operator=(const BarPositioning&) = delete;

        // Moves the toolbar to the rectangle (dock-bar client coordinates) unless it lies there already.
        void Place(COSMToolBar* bar, const CRect& rect);

    private:
        // The toolbar's window rectangle in the dock bar's client coordinates.
        CRect CurrentRect(COSMToolBar* bar);

        COSMDockBar* m_dockBar;
        int m_capacity;
        HDWP m_dwp = nullptr;
        BOOL m_failed = FALSE;
        // The dock bar's client origin on the screen, read once (not for a mirrored dock bar).
        BOOL m_originKnown = FALSE;
        BOOL m_mirrored = FALSE;
        CPoint m_origin{0, 0};
    };

    COSMDockBar();
    ~COSMDockBar() override;

    // The window along the side of the site (a child with the side bits in its style).
    BOOL Create(CWnd* site, DWORD dockStyle, COSMCommandBars* commandBars, UINT id);

    DWORD GetDockStyle() const { return m_dockStyle; }
    void SetDockStyle(DWORD style) { m_dockStyle = style; }
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }
    void SetCommandBars(COSMCommandBars* commandBars) { m_commandBars = commandBars; }
    void SetBarSizer(BarSizer sizer) { m_sizer = std::move(sizer); }

    // 0 top, 1 bottom, 2 left, 3 right, from the dock style.
    int GetPosition() const;
    BOOL IsHorizontal() const { return (m_dockStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
    // LM_HORZ|LM_HORZDOCK or LM_VERTDOCK, LM_STRETCH for a full-row bar, 0x80 (hide what does not fit) for a bar
    // that may shrink unless the manager customizes without its copy.
    DWORD GetLayoutMode(BOOL horizontal, COSMToolBar* bar) const;

    // ---- Rows ----------------------------------------------------------------------------------------------------
    // Docks the toolbar: without a rectangle as a new last row, else at the rectangle's centre (screen coordinates).
    void DockCommandBar(COSMToolBar* bar, LPCRECT screenRect = nullptr);
    // Inserts the toolbar at the client point (see DockBar.cpp); the toolbar's index.
    int InsertBarAt(COSMToolBar* bar, CPoint point);
    // Takes the toolbar out (its entry other than skip); TRUE when it was there.
    BOOL RemoveCommandBar(COSMToolBar* bar, int skip = -1);
    // The index of the toolbar other than skip, or -1.
    int FindBar(const COSMToolBar* bar, int skip = -1) const;
    // The entry at the index (null ends a row); callers stay within the array.
    COSMToolBar* GetAt(int index) const { return m_bars[static_cast<size_t>(index)]; }
    int GetCount() const { return static_cast<int>(m_bars.size()); }
    // The visible toolbars of the row holding the index, in their order along the row.
    void GetRowBars(int index, std::vector<COSMToolBar*>& bars) const;
    // Every toolbar with flag 0x40 gets a row of its own.
    void NormalizeRows();

    // ---- Layout (DockBarRows.cpp) --------------------------------------------------------------------------------
    // Lays one row out from the origin along the length: the row thickness, or -1 with *leaving set to the row
    // index of the toolbar that must leave. With a positioning the toolbars move through it; placed (when given)
    // receives each toolbar's rectangle in dock-bar client coordinates, in the row's order.
    int AdjustRow(const std::vector<COSMToolBar*>& row, CPoint origin, int length, BOOL horizontal,
                  BarPositioning* positioning, int* leaving, std::vector<CRect>* placed = nullptr);
    // AdjustRow, moving the toolbars that do not fit onto visual rows of their own; the total thickness.
    int AdjustRowWrapped(const std::vector<COSMToolBar*>& row, CPoint origin, int length, BOOL horizontal,
                         BarPositioning* positioning, std::vector<CRect>* placed = nullptr);
    // The size the dock bar needs for the length; mode bit 0 stretch, bit 1 horizontal. With a deferred-position
    // handle in the layout the toolbars move.
    CSize CalcDockBarLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* layout);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Removes the entry and the row it leaves empty.
    void RemoveEntry(int index);
    CSize SizeOf(COSMToolBar* bar, int length, DWORD mode, int thickness) const;
    // The manager's menu bar is a ribbon bar lying in this dock bar.
    BOOL HoldsRibbonMenuBar() const;
    void RecalcFrameLayout() const;
    // The background through the manager's paint manager (the process's without a manager).
    void FillBackground(CDC* dc);

    DWORD m_dockStyle = 0;
    std::vector<COSMToolBar*> m_bars{nullptr};
    COSMCommandBars* m_commandBars = nullptr;
    BarSizer m_sizer;
};
