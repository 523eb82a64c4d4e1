// COSMControlHyperlink: a caption drawn as a link (blue, red under the mouse, grey when disabled) that opens its
// target with one click. The target is the control's tooltip text, which a bar store carries like any other key,
// so only web and mail targets are opened ("http://", "https://", "mailto:", in any case, blanks trimmed); any
// other target runs the control's command instead, so a program that trusts more kinds of targets opens them
// itself from WM_COMMAND. Opening goes through a function tests replace (ShellExecuteA by default):
//
//   COSMControl* link = bar->GetControls()->AddControl(
//       static_cast<COSMControl*>(COSMControlHyperlink::CreateObject()), ID_HELP_WEBSITE);
//   link->SetCaption("Project home");
//   link->SetTooltip("https://example.org/");
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/Control.h"

class COSMControlHyperlink : public COSMControl
{
    DECLARE_SERIAL(COSMControlHyperlink)

public:
    // ShellExecuteA's shape.
    typedef HINSTANCE(WINAPI* Opener)(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                      INT show);

    COSMControlHyperlink();

    // The caption's extent in the paint manager's regular font.
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Enabled only: a mouse click in customize mode customizes (when allowed); outside customize mode any click
    // opens at once, without holding the control down.
    void OnClick(BOOL keyboard, CPoint point) override;
    void OnLButtonUp(CPoint point) override {}
    // The hand cursor (the arrow where the system has none).
    void OnMouseMove(CPoint point) override;
    // Opens the target when it is a web or mail one; otherwise runs the command as any control does.
    void OnExecute() override;
    COSMControl* Clone(BOOL recursive) const override;

    // The target trimmed when it may be opened, else an empty string.
    static CString GetOpenableTarget(const CString& target);
    // Replaces the function that opens targets; null puts ShellExecuteA back.
    static void SetOpener(Opener opener);

private:
    HCURSOR m_handCursor = nullptr;
};
