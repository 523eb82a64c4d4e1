// COSMControlTabWorkspace: a command-bar control holding a workspace strip, which an MDI tab workspace without
// grouping takes as its single strip instead of its own strip window. It is made by class name, like the bars'
// other controls, and hands clicks and moves to its strip while it belongs to a workspace:
//
//   auto* control = static_cast<COSMControlTabWorkspace*>(
//       CRuntimeClass::FromName("COSMControlTabWorkspace")->CreateObject());
//   toolBar->GetControls()->AddControl(control, 0);
//   control->AttachToClient(&clientWnd);          // the workspace's tabs now show in the bar
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/tabs/TabWorkspace.h"

class COSMTabClientWnd;
class COSMControlTabWorkspace;

// The strip of the control: it paints in the bar and takes its position from the bar's.
class COSMControlTabWorkspaceStrip : public COSMTabWorkspace
{
public:
    explicit COSMControlTabWorkspaceStrip(COSMControlTabWorkspace* pControl) : m_pControl(pControl) {}

    void RedrawTabs(const CRect* prc, BOOL bErase) override;
    int GetPosition() const override;
    void OnStripRectChanged() override;

private:
    COSMControlTabWorkspace* m_pControl;
};

class COSMControlTabWorkspace : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlTabWorkspace)

public:
    static constexpr int kDefaultWidth = 220;
    // Flag bits of a control that takes no command and lays out by its own size.
    static constexpr DWORD kWorkspaceControlFlags = 18;

    COSMControlTabWorkspace();
    ~COSMControlTabWorkspace() override;

    // The strip becomes the client's single strip (the client must have no grouping).
    void AttachToClient(COSMTabClientWnd* pClient);
    COSMTabWorkspace* GetWorkspace() { return &m_strip; }
    BOOL IsRectChanged() const { return m_bRectChanged; }

    void Copy(const COSMControl* source, BOOL recursive) override;
    COSMControl* Clone(BOOL recursive) const override;
    void SetRect(const CRect& rect) override;
    void Draw(CDC* dc) override;
    CSize GetSize(CDC* dc) override;
    void OnClick(BOOL keyboard, CPoint point) override;
    void OnMouseMove(CPoint point) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    void OnRemoved() override;

    // The strip's position for the bar's position: a bottom bar puts it at the bottom, a left one left, a right one
    // right, any other at the top.
    static int MapBarPosition(int nBarPosition);

    // For the strip's own use.
    void OnStripChanged();
    void RedrawStrip(const CRect* prc);
    HWND GetBarWindow() const;

private:
    COSMControlTabWorkspaceStrip m_strip{this};
    BOOL m_bRectChanged = TRUE;
};
