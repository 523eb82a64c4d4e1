// What the manager reads from its site: the rebar child that may hold the toolbars as bands, and, in an MDI frame, the
// kind of document the active child shows.
#include "classlib/DocTemplate.h"
#include "classlib/MDIChildWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/ReBar.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/ReBar.h"
#include "framework/commandbars/ToolBar.h"

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
    if (CWinApp* app = AfxGetApp())
    {
        for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;)
        {
            CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
            if (docTemplate->m_hMenuShared && docTemplate->m_hMenuShared == child->m_hMenuShared)
                return docTemplate->m_nIDResource;
        }
    }
    return 0;
}

COSMReBar* COSMCommandBars::GetReBar() const
{
    HWND hwnd = m_site ? ::GetDlgItem(m_site->GetSafeHwnd(), AFX_IDW_REBAR) : nullptr;
    CWnd* child = hwnd ? CWnd::FromHandlePermanent(hwnd) : nullptr;
    return child && child->IsKindOf(RUNTIME_CLASS(COSMReBar)) ? static_cast<COSMReBar*>(child) : nullptr;
}

void COSMCommandBars::AddToReBar(COSMCommandBar* bar)
{
    COSMReBar* rebar = GetReBar();
    auto* toolBar = dynamic_cast<COSMToolBar*>(bar);
    if (!rebar || !toolBar || !toolBar->GetSafeHwnd() || rebar->FindBand(toolBar) >= 0)
        return;
    rebar->AddToolBar(toolBar, COSMReBar::kManagerBandStyle);
}

void COSMCommandBars::RemoveFromReBar(COSMCommandBar* bar)
{
    COSMReBar* rebar = GetReBar();
    if (auto* toolBar = dynamic_cast<COSMToolBar*>(bar); rebar && toolBar)
        rebar->DeleteToolBar(toolBar);
}
