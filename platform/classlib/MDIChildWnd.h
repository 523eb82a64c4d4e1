// CMDIChildWnd is a document window inside a CMDIFrameWnd's MDI client. It is made through the client
// (WM_MDICREATE), so the system treats it as an MDI child: its default message handling is the system's MDI child
// procedure and destroying it goes through the client too. A child that shows a document is given it and its
// template's shared menu (SetActiveDocument, m_hMenuShared).
//
//   auto* pChild = new CDocumentWnd;
//   pChild->Create(nullptr, "Untitled", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
//   pMainFrame);
#pragma once

#include "classlib/MDIFrameWnd.h"

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)

public:
    CMDIChildWnd() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // pParentWnd is the MDI frame (or null for the application's main window).
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr);
    BOOL DestroyWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The document the child shows (SetActiveDocument), or null.
    CDocument* GetActiveDocument() override { return m_pActiveDocument; }

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The MDI frame the child lives in, or null.
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();
    // Not owned: the document stays its owner's.
    void SetActiveDocument(CDocument* pDocument) { m_pActiveDocument = pDocument; }

    // The menu of the child's document template (CDocTemplate::m_hMenuShared, not owned), or null: the frame shows
    // it while the child is active, and it tells which kind of document the child holds.
    HMENU m_hMenuShared = nullptr;

protected:
    // Activated, the child hands its shared menu to the client (WM_MDISETMENU), so the frame (or a bar standing in
    // for the frame's menu) shows its template's menu; when the last child goes inactive the client hears of it with
    // no menu.
    afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CDocument* m_pActiveDocument = nullptr;
    using CFrameWnd::Create;
};
