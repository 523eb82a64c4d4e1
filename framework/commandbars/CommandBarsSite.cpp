// What the manager reads from its site: the rebar child that may hold the bars as bands, and, in an MDI frame, the
// kind of document the active child shows.
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/CommandBar.h"

#include <commctrl.h>
#include <cstring>

namespace {

// The site's child that takes bars as bands.
constexpr UINT kReBarChildId = 0xE804;
// A band starts its own row and always shows its gripper.
constexpr UINT kReBarBandStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS;

// The site's rebar control, or null: a child of that id that is something else is left alone.
HWND FindReBar(CWnd* site)
{
    HWND hwnd = site ? ::GetDlgItem(site->GetSafeHwnd(), kReBarChildId) : nullptr;
    char className[32] = {};
    if (!hwnd || !::GetClassNameA(hwnd, className, sizeof className) || std::strcmp(className, REBARCLASSNAMEA) != 0)
        return nullptr;
    return hwnd;
}

// The band structure every comctl32 from 5 on accepts (the longer one of newer headers is refused by older ones).
REBARBANDINFOA MakeBandInfo(UINT mask)
{
    REBARBANDINFOA band;
    std::memset(&band, 0, sizeof band);
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = mask;
    return band;
}

// The band holding the window, or -1.
int FindBand(HWND rebar, HWND child)
{
    const int count = static_cast<int>(::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        REBARBANDINFOA band = MakeBandInfo(RBBIM_CHILD);
        if (::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)) && band.hwndChild == child)
            return index;
    }
    return -1;
}

}  // namespace

UINT COSMCommandBars::GetActiveDocTemplateId() const
{
    auto* frame = dynamic_cast<CMDIFrameWnd*>(m_site);
    if (!frame || !frame->GetSafeHwnd())
        return 0;
    CWnd* active = frame->MDIGetActive();
    if (!active)
        return m_defaultDocTemplateId;
    auto* child = dynamic_cast<CMDIChildWnd*>(active);
    if (!child || !child->GetActiveDocument())
        return static_cast<UINT>(active->GetDlgCtrlID());
    // The child's document is of the template whose menu it shares.
    if (CWinApp* app = AfxGetApp()) {
        for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
            CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
            if (docTemplate->m_hMenuShared && docTemplate->m_hMenuShared == child->m_hMenuShared)
                return docTemplate->m_nIDResource;
        }
    }
    return 0;
}

void COSMCommandBars::AddToReBar(COSMCommandBar* bar)
{
    HWND rebar = FindReBar(m_site);
    if (!rebar || !bar || !bar->GetSafeHwnd() || FindBand(rebar, bar->GetSafeHwnd()) >= 0)
        return;
    CRect rect;
    bar->GetWindowRect(&rect);
    REBARBANDINFOA band = MakeBandInfo(RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID);
    band.fStyle = kReBarBandStyle;
    band.hwndChild = bar->GetSafeHwnd();
    band.wID = bar->GetBarID();
    band.cxMinChild = rect.Width();
    band.cyMinChild = rect.Height();
    band.cx = rect.Width();
    ::SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

void COSMCommandBars::RemoveFromReBar(COSMCommandBar* bar)
{
    HWND rebar = FindReBar(m_site);
    if (!rebar || !bar || !bar->GetSafeHwnd())
        return;
    const int index = FindBand(rebar, bar->GetSafeHwnd());
    if (index >= 0)
        ::SendMessageA(rebar, RB_DELETEBAND, index, 0);
}
