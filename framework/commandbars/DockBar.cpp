#include "framework/commandbars/DockBar.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/WindowFunctions.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COSMDockBar, CWnd)

BEGIN_MESSAGE_MAP(COSMDockBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

const char kDockBarWindowClass[] = "OSMDockBar";

CRect WindowRectIn(const CWnd* window, const CWnd* parent)
{
    CRect rect;
    window->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    return rect;
}

}  // namespace

COSMDockBar::COSMDockBar()
{
    // With the arrow as its cursor, so that a cursor a toolbar set over its gripper does not stay on over the gaps.
    RegisterWindowClass(::GetModuleHandleA(nullptr), kDockBarWindowClass, 0);
}

COSMDockBar::~COSMDockBar()
{
    // Toolbars still listed here outlive the dock bar in their manager: they only forget it.
    for (COSMToolBar* bar : m_bars)
        if (bar && bar->GetDockBar() == this)
            bar->SetDockBar(nullptr);
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COSMDockBar::Create(CWnd* site, DWORD dockStyle, COSMCommandBars* commandBars, UINT id)
{
    m_dockStyle = dockStyle;
    m_commandBars = commandBars;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | (dockStyle & (CBRS_ALIGN_ANY | 0x0F00));
    return CreateEx(0, kDockBarWindowClass, "", style, 0, 0, 0, 0, site ? site->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL COSMDockBar::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int COSMDockBar::GetPosition() const
{
    if (m_dockStyle & kStyleTop)
        return 0;
    if (m_dockStyle & kStyleBottom)
        return 1;
    if (m_dockStyle & kStyleLeft)
        return 2;
    return 3;
}

DWORD COSMDockBar::GetLayoutMode(BOOL horizontal, COSMToolBar* bar) const
{
    DWORD mode = horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    if (bar->GetFlags() & kBarFlagFullRow)
        mode |= LM_STRETCH;
    // While the user customizes every control stays in sight, unless the manager keeps a copy of the bars.
    const BOOL customizing = m_commandBars && m_commandBars->IsCustomizeMode() && !m_commandBars->IsCustomizeModeCopy();
    if ((bar->GetFlags() & kBarFlagHideWrap) && !customizing)
        mode |= COSMControls::kLayoutHideWrap;
    return mode;
}

CSize COSMDockBar::SizeOf(COSMToolBar* bar, int length, DWORD mode, int thickness) const
{
    if (m_sizer)
        return m_sizer(bar, length, mode, thickness);
    return bar->CalcDockingLayout(length, mode, thickness);
}

void COSMDockBar::RecalcFrameLayout() const
{
    if (m_commandBars)
        m_commandBars->RecalcFrameLayout(TRUE);
}

// ---- Rows ----

int COSMDockBar::FindBar(const COSMToolBar* bar, int skip) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_bars[static_cast<size_t>(i)] == bar && i != skip)
            return i;
    return -1;
}

void COSMDockBar::RemoveEntry(int index)
{
    m_bars.erase(m_bars.begin() + index);
    // A row left empty shows as two nulls in a row: one goes.
    if (index > 0 && index < GetCount() && !m_bars[static_cast<size_t>(index - 1)] &&
        !m_bars[static_cast<size_t>(index)])
        m_bars.erase(m_bars.begin() + index);
}

BOOL COSMDockBar::RemoveCommandBar(COSMToolBar* bar, int skip)
{
    const int index = FindBar(bar, skip);
    if (index <= 0)
        return FALSE;
    RemoveEntry(index);
    bar->SetDockBar(nullptr);
    RecalcFrameLayout();
    return TRUE;
}

void COSMDockBar::NormalizeRows()
{
    for (int i = 1; i < GetCount(); ++i)
    {
        COSMToolBar* bar = m_bars[static_cast<size_t>(i)];
        if (!bar || !(bar->GetFlags() & kBarFlagFullRow))
            continue;
        if (m_bars[static_cast<size_t>(i - 1)])
        {
            m_bars.insert(m_bars.begin() + i, nullptr);
            ++i;
        }
        if (i + 1 < GetCount() && m_bars[static_cast<size_t>(i + 1)])
            m_bars.insert(m_bars.begin() + i + 1, nullptr);
    }
}

BOOL COSMDockBar::HoldsRibbonMenuBar() const
{
    if (!m_commandBars)
        return FALSE;
    COSMCommandBar* menuBar = m_commandBars->GetMenuBar();
    auto* toolBar = dynamic_cast<COSMToolBar*>(menuBar);
    return menuBar && menuBar->IsRibbonBar() && toolBar && toolBar->GetDockBar() == this;
}

int COSMDockBar::InsertBarAt(COSMToolBar* bar, CPoint point)
{
    const BOOL horizontal = IsHorizontal();
    const int c = horizontal ? point.y : point.x;
    // A ribbon lying here keeps the first row to itself.
    const BOOL firstRowReserved = HoldsRibbonMenuBar() && !bar->IsRibbonBar();
    int rowStart = 0;
    int rowEnd = 0;
    int previousRowEnd = 0;
    for (int i = 0; i < GetCount(); ++i)
    {
        COSMToolBar* entry = m_bars[static_cast<size_t>(i)];
        if (entry)
        {
            if (entry != bar && entry->IsVisible() && entry->GetSafeHwnd())
            {
                const CRect rect = WindowRectIn(entry, this);
                rowEnd = std::max(rowEnd, static_cast<int>(horizontal ? rect.bottom : rect.right));
            }
            continue;
        }
        if (c < rowEnd && (!firstRowReserved || rowStart > 1))
        {
            if (i == 0 || c == previousRowEnd)
                m_bars.insert(m_bars.begin() + rowStart + 1, nullptr);
            m_bars.insert(m_bars.begin() + rowStart + 1, bar);
            return rowStart + 1;
        }
        previousRowEnd = rowEnd;
        rowStart = i;
    }
    m_bars.push_back(bar);
    m_bars.push_back(nullptr);
    return GetCount() - 2;
}

void COSMDockBar::DockCommandBar(COSMToolBar* bar, LPCRECT screenRect)
{
    const int existing = FindBar(bar);
    if (existing > 0 && !screenRect)
        return;
    if (screenRect && bar->GetSafeHwnd())
    {
        CRect window;
        bar->GetWindowRect(&window);
        if (window == *screenRect)
            return;
    }

    COSMToolBar::DockingRecord record = bar->GetDockingRecord();
    int index = -1;
    if (!screenRect)
    {
        m_bars.push_back(bar);
        m_bars.push_back(nullptr);
        index = GetCount() - 2;
        record.rect.SetRectEmpty();
    }
    else
    {
        CRect client = *screenRect;
        ScreenToClient(&client);
        index = InsertBarAt(bar, client.CenterPoint());
        record.rect = client;
    }
    bar->SetDockingRecord(record);

    if (bar->GetSafeHwnd() && ::GetParent(bar->GetSafeHwnd()) != m_hWnd)
        bar->SetParent(this);

    if (existing > 0)
    {
        const int old = FindBar(bar, index);
        if (old > 0)
            RemoveEntry(old);
    }
    else if (COSMDockBar* other = bar->GetDockBar(); other && other != this)
    {
        other->RemoveCommandBar(bar);
    }
    bar->SetDockBar(this);
    NormalizeRows();
    RecalcFrameLayout();
}

void COSMDockBar::GetRowBars(int index, std::vector<COSMToolBar*>& bars) const
{
    if (index < 0 || index >= GetCount())
        return;
    int start = index;
    while (start > 0 && m_bars[static_cast<size_t>(start)])
        --start;
    std::vector<std::pair<CRect, COSMToolBar*>> row;
    const BOOL horizontal = IsHorizontal();
    for (int i = start + 1; i < GetCount() && m_bars[static_cast<size_t>(i)]; ++i)
    {
        COSMToolBar* bar = m_bars[static_cast<size_t>(i)];
        if (!bar->IsVisible() || !bar->GetSafeHwnd())
            continue;
        CRect rect;
        bar->GetWindowRect(&rect);
        if (!horizontal)
            rect = CRect(rect.top, rect.left, rect.bottom, rect.right);
        row.emplace_back(rect, bar);
    }
    std::stable_sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
    for (const auto& entry : row)
        bars.push_back(entry.second);
}

// ---- The window ----

LRESULT COSMDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !(GetStyle() & WS_VISIBLE))
        return 0;
    const CRect available(layout->rect);
    const BOOL horizontal = IsHorizontal();
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dockStyle & CBRS_SIZE_DYNAMIC) && (m_dockStyle & CBRS_FLOATING))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else
        mode |= horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    const int length = horizontal ? available.Width() : available.Height();
    CSize size = CalcDockBarLayout(length, mode, layout);
    size.cx = std::min(size.cx, static_cast<LONG>(available.Width()));
    size.cy = std::min(size.cy, static_cast<LONG>(available.Height()));

    const DWORD style = GetStyle();
    CRect strip = available;
    if (!horizontal)
    {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (style & CBRS_ALIGN_LEFT)
        {
            strip.right = strip.left + size.cx;
            layout->rect.left += size.cx;
        }
        else
        {
            strip.left = strip.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    else
    {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (style & CBRS_ALIGN_TOP)
        {
            strip.bottom = strip.top + size.cy;
            layout->rect.top += size.cy;
        }
        else
        {
            strip.top = strip.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    }
    // Nothing is invalidated here: the background is a plain fill of the client, so what a resize or a toolbar
    // moving inside the strip uncovers is all that needs painting, and the system invalidates exactly that. The
    // idle layout runs all the time; a strip that keeps its place must keep its picture and its toolbars'.
    AfxRepositionWindow(layout, m_hWnd, &strip);
    return 0;
}

void COSMDockBar::OnPaint()
{
    CPaintDC dc(this);
    FillBackground(&dc);
}

LRESULT COSMDockBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    FillBackground(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return TRUE;
}

void COSMDockBar::FillBackground(CDC* dc)
{
    COSMPaintManager* paintManager = m_commandBars ? m_commandBars->GetPaintManager() : GetProcessPaintManager();
    if (dc && paintManager)
        paintManager->FillDockBar(dc, this);
}

BOOL COSMDockBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void COSMDockBar::OnRButtonDown(UINT, CPoint point)
{
    ClientToScreen(&point);
    if (m_commandBars)
        m_commandBars->ShowToolbarsContextMenu(0, point.x, point.y);
}

LRESULT COSMDockBar::OnNcHitTest(CPoint point)
{
    // The ribbon's frame area lets clicks through to the frame.
    if (GetPosition() == 0 && HoldsRibbonMenuBar())
        return HTTRANSPARENT;
    return CWnd::OnNcHitTest(point);
}
